// The programs must stay small. libstdc++ reports a broken precondition by
// building a std::logic_error, whose copy-on-write string brings some 50 KB
// of code along, and its default terminate handler brings the C++
// demangler (46 KB). These stand in for them: the same throws, with
// exception types that carry no string. Each program lists this file among
// its own sources: in a library, libstdc++'s versions would be taken first.
#include <cstdlib>
#include <exception>
#include <new>

namespace platform {

// What std::logic_error and its kin become: a fault of the program, which
// it reports as such where it can.
struct InternalError final : std::exception {
    const char* what() const noexcept override { return "internal error"; }
};

}  // namespace platform

namespace std {

using platform::InternalError;

// A size beyond what can be allocated is the same failure as running out.
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }

void __throw_logic_error(const char*) { throw InternalError(); }
void __throw_domain_error(const char*) { throw InternalError(); }
void __throw_invalid_argument(const char*) { throw InternalError(); }
void __throw_out_of_range(const char*) { throw InternalError(); }
void __throw_out_of_range_fmt(const char*, ...) { throw InternalError(); }
void __throw_runtime_error(const char*) { throw InternalError(); }
void __throw_range_error(const char*) { throw InternalError(); }
void __throw_overflow_error(const char*) { throw InternalError(); }
void __throw_underflow_error(const char*) { throw InternalError(); }
void __throw_bad_cast() { throw InternalError(); }
void __throw_bad_typeid() { throw InternalError(); }
void __throw_bad_exception() { throw InternalError(); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
