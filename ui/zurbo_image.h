#pragma once
// The main window, TForm1: a widget whose client area has the layout's size.
#include <QWidget>

namespace kv {

inline constexpr int kFormClientWidth = 987;
inline constexpr int kFormClientHeight = 705;
inline constexpr const char* kFormCaption = "Кадрилка  -  KVADRIKO   V2.0 Tervisto 2010";

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};

}  // namespace kv
