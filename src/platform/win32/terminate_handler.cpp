// The runtime's default terminate handler prints the type of an uncaught
// exception by its demangled name; the demangler it needs is a sixth of the
// program's code. corvane throws nothing across its own code, so defining
// the handler here keeps the runtime's version, and the demangler with it,
// out of the link: an uncaught exception ends the process at once.
#include <cstdlib>

namespace __gnu_cxx { // NOLINT(cert-dcl58-cpp,bugprone-reserved-identifier)

[[noreturn]] void __verbose_terminate_handler() { // NOLINT(bugprone-reserved-identifier)
    std::abort();
}

} // namespace __gnu_cxx
