// The owner side of a drop-accepting static: told after a dropped path has
// become the control's text.
#pragma once

class IFileDropSink {
public:
    virtual void OnFileDropped(int controlId) = 0;

protected:
    ~IFileDropSink() = default;
};
