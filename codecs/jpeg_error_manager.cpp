#include "codecs/jpeg_error_manager.h"

#include <cstdlib>

#include "runtime/exceptions.h"

namespace kv {

namespace {

JpegErrorManager& ManagerOf(j_common_ptr cinfo) {
    // pub is the first member, so the library's pointer is the manager's address.
    return *reinterpret_cast<JpegErrorManager*>(cinfo->err);
}

[[noreturn]] void JumpBack(JpegErrorManager& manager) {
    // Every library call runs inside JpegGuardedCall; reaching the library any other way is a
    // programming error that must not continue with a corrupt state.
    if (!manager.armed) std::abort();
    std::longjmp(manager.jump, 1);
}

extern "C" void ErrorExit(j_common_ptr cinfo) {
    JumpBack(ManagerOf(cinfo));
}

extern "C" void EmitMessage(j_common_ptr, int) {}

extern "C" void OutputMessage(j_common_ptr) {}

extern "C" void FormatMessage(j_common_ptr, char* buffer) {
    if (buffer != nullptr) buffer[0] = '\0';
}

extern "C" void ResetErrorManager(j_common_ptr cinfo) {
    cinfo->err->msg_code = 0;
    cinfo->err->num_warnings = 0;
}

}  // namespace

jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager) {
    jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
    err->error_exit = ErrorExit;
    err->emit_message = EmitMessage;
    err->output_message = OutputMessage;
    err->format_message = FormatMessage;
    err->reset_error_mgr = ResetErrorManager;
    manager.pending = nullptr;
    return err;
}

std::string JpegErrorText(int code) {
    return "JPEG error #" + std::to_string(code);
}

void JpegJumpBack(j_common_ptr cinfo) {
    JumpBack(ManagerOf(cinfo));
}

void RaiseJpegFailure(JpegErrorManager& manager) {
    if (manager.pending) {
        std::exception_ptr failure = std::move(manager.pending);
        manager.pending = nullptr;
        std::rethrow_exception(failure);
    }
    throw EJPEG(JpegErrorText(manager.pub.msg_code));
}

}  // namespace kv
