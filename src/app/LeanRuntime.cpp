// The C++ runtime's failure paths, kept as small as the program needs.
//
// The program's code throws no exceptions and catches none: a failure of
// the standard library inside it (memory exhausted, a string too long for
// its type) ends the program, as an exception that nothing catches does.
// The runtime's own versions of these paths build an exception object,
// unwind, and at the end print the exception's demangled type name to the
// standard error stream, which a GUI program does not have; the demangler,
// the formatted output and the exception classes behind them made up a
// fifth of the executable. Here each path ends the program at once, with
// the same result for the user. Linked into the shipped program only: the
// tests keep the runtime's own versions.
#include <bits/functexcept.h>

#include <cstdlib>

namespace __gnu_cxx {
// The handler std::terminate calls by default.
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

// The standard containers' and strings' reports of a misuse or of exhausted
// memory.
namespace std {
void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
} // namespace std
