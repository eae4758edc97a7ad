#pragma once
// The small pictures the browser's rows carry. A directory list row's glyph also tells what kind
// of row it is; the images themselves belong to the window layer.
namespace kv {

enum class TGlyphRole {
    None,
    // file list
    Executable,
    UnknownFile,
    ClosedFolder,  // also the directory list's subfolder rows
    // directory list
    OpenFolder,
    CurrentFolder,
    // drive selector
    Floppy,
    Hard,
    Network,
    CDRom,
    Ram,
};

}  // namespace kv
