#pragma once
// The pictures of the five picture buttons, the about box's emblem and the window icon, embedded
// in the program.
#include <QIcon>
#include <string>

namespace kv {

class TImage;

// Puts the embedded picture `name` ("load", "shuffle", "newgame", "exit", "info") into the
// picture control. A picture that cannot be read raises the reader's failure.
void LoadButtonPicture(TImage& image, const std::string& name);

// Puts the about box's emblem, a 32 x 32 bitmap of 256 colours, into the picture control.
void LoadEmblemPicture(TImage& image);

// The 32 x 32 window icon.
QIcon WindowIcon();

}  // namespace kv
