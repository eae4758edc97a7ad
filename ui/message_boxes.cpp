#include "ui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace kv {
namespace {

// The real modal box. Its nested event loop keeps timers ticking and windows painting while
// it is open.
class QtMessageBoxService final : public MessageBoxService {
public:
    void Show(const MessageBoxRequest& request) override {
        const QMessageBox::Icon icon =
            request.icon == MessageBoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon;
        QMessageBox box(icon, QString::fromStdString(request.caption), QString::fromStdString(request.text),
                        QMessageBox::Ok, MessageBoxParent());
        // Shown as written: a failure's message may quote a file name holding "<" or "&".
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
};

MessageBoxService* installedService = nullptr;
QPointer<QWidget> mainWindow;

}  // namespace

MessageBoxService& MessageBoxes() {
    static QtMessageBoxService realBoxes;
    return installedService ? *installedService : realBoxes;
}

void SetMessageBoxService(MessageBoxService* service) { installedService = service; }

QWidget* MessageBoxParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return mainWindow.data();
}

void SetMessageBoxMainWindow(QWidget* window) { mainWindow = window; }

void ShowGameMessage(const std::string& text) {
    MessageBoxes().Show({MessageBoxIcon::None, kApplicationTitle, text});
}

}  // namespace kv
