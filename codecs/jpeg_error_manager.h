#pragma once
// The error manager every decompressor gets. The library is C, so a failure inside it cannot
// be thrown through its frames: the error exit records the message code and jumps back to the
// guarded call that entered the library (JpegGuardedCall), which raises EJPEG from C++.
// Warnings and trace messages are ignored so that decoding goes on.
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <string>

#include <jpeglib.h>

namespace kv {

struct JpegErrorManager {
    jpeg_error_mgr pub{};     // must stay first: the library only sees this part
    std::jmp_buf jump{};
    bool armed = false;       // a guarded call is active and may be jumped back to
    std::exception_ptr pending; // a C++ failure from one of our callbacks, raised after the jump
};

// Fills the manager's callbacks and returns the pointer to give the library (cinfo.err).
jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager);

// "JPEG error #<code>".
std::string JpegErrorText(int code);

// Leaves the library from inside one of our callbacks; the guarded call then raises the
// failure stored in `pending` (or EJPEG when there is none).
[[noreturn]] void JpegJumpBack(j_common_ptr cinfo);

// Runs C++ code inside a library callback. A failure it throws is kept and carried out of the
// library by a jump; nothing with a destructor is alive in this frame when the jump happens.
template <class Body>
void JpegCallbackGuard(j_common_ptr cinfo, Body&& body) {
    bool failed = false;
    try {
        body();
    } catch (...) {
        reinterpret_cast<JpegErrorManager*>(cinfo->err)->pending = std::current_exception();
        failed = true;
    }
    if (failed) JpegJumpBack(cinfo);
}

// Raises what a jump back from the library carries: the pending C++ failure or EJPEG.
[[noreturn]] void RaiseJpegFailure(JpegErrorManager& manager);

// Runs `body`, which calls into the library, with the error exit wired to come back here.
// The body must hold no object with a destructor while a library call is running: a failure
// leaves its frame by a jump, not by unwinding. C++ failures thrown by the body itself (outside
// library calls) travel normally.
template <class Body>
void JpegGuardedCall(JpegErrorManager& manager, Body&& body) {
    if (setjmp(manager.jump) != 0) {
        manager.armed = false;
        RaiseJpegFailure(manager);
    }
    manager.armed = true;
    body();
    manager.armed = false;
}

}  // namespace kv
