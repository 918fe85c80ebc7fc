// Compare: check the WinDiff file name and both paths, start WinDiff with
// both, then record them at the top of their histories.
#include "app/MainFrame.h"

#include "app/RunProcess.h"
#include "pathinput/PathTests.h"

namespace {

const char* const kCaption = "Pairmate";

const char* const kNoWinDiffName = "Windiffのファイル名が設定されていません。";
const char* const kWinDiffMissing = "設定されているWindiffのファイルが存在しません。";
const char* const kPath1Empty = "比較ファイル１が設定されていません。";
const char* const kPath1Missing = "比較ファイル１に設定されたファイル、またはフォルダは存在しません。";
const char* const kPath2Empty = "比較ファイル２が設定されていません。";
const char* const kPath2Missing = "比較ファイル２に設定されたファイル、またはフォルダは存在しません。";
const char* const kKindsDiffer = "ファイルとフォルダを比較することはできません。";
const char* const kStartFailed =
    "Windiffの起動に失敗しました。\nWindiffファイル名に誤りがないか確認してください。";

BOOL IsExistingPath(const std::string& path)
{
    return IsExistingFile(path) || IsExistingFolder(path);
}

// Both existing files, or both existing folders.
BOOL IsSameKind(const std::string& p1, const std::string& p2)
{
    return (IsExistingFile(p1) && IsExistingFile(p2)) || (IsExistingFolder(p1) && IsExistingFolder(p2));
}

// The first failing check's message, or nullptr when all pass.
const char* FirstFailure(const std::string& winDiff, const std::string& p1, const std::string& p2)
{
    if (winDiff.empty()) return kNoWinDiffName;
    if (!IsExistingFile(winDiff)) return kWinDiffMissing;
    if (p1.empty()) return kPath1Empty;
    if (!IsExistingPath(p1)) return kPath1Missing;
    if (p2.empty()) return kPath2Empty;
    if (!IsExistingPath(p2)) return kPath2Missing;
    if (!IsSameKind(p1, p2)) return kKindsDiffer;
    return nullptr;
}

} // namespace

void CMainFrame::OnCompare()
{
    const std::string p1 = m_wndCombo1.GetWindowText();
    const std::string p2 = m_wndCombo2.GetWindowText();

    if (const char* failure = FirstFailure(m_strWinDiffPath, p1, p2)) {
        MessageBox(failure, kCaption, MB_ICONEXCLAMATION);
        return;
    }

    const std::string arguments = "\"" + p1 + "\" \"" + p2 + "\"";
    if (!RunProcess(m_strWinDiffPath.c_str(), arguments.c_str())) {
        MessageBox(kStartFailed, kCaption, MB_ICONEXCLAMATION);
        return;
    }

    if (m_bAutoMinimize) MinimizeBar();

    m_history1.Add(p1);
    m_history2.Add(p2);
    RefillCombo(m_wndCombo1, m_history1);
    RefillCombo(m_wndCombo2, m_history2);
}
