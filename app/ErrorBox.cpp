#include "app/ErrorBox.h"

#include "store/Errors.h"
#include "windows/Speak.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <new>

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

namespace {
// Captions and the button's "OK" are given here, so that Qt's Czech texts
// do not replace them.
void ShowBox(QMessageBox::Icon icon, const char* caption, const char* name, const QString& text) {
    QMessageBox box(icon, QString::fromLatin1(caption), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QString::fromLatin1(name));
    // A child's name or a file's text is shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Orca 48 says only the button that takes the focus when a box comes
    // up; the box's text is told as an announcement. Older readers speak
    // the box as an alert by themselves.
    QTimer::singleShot(0, &box, [&box, text] { Speak(&box, text); });
#endif
    box.exec();
}
} // namespace

void ShowErrorBox(const QString& message) {
    ShowBox(QMessageBox::Critical, ApplicationTitle, "ErrorBox", ErrorBoxText(message));
}

void ShowCaughtError() noexcept {
    try {
        try {
            throw;
        } catch (const EZirmonError& e) {
            ShowErrorBox(e.message());
        } catch (const std::bad_alloc&) {
            ShowErrorBox(QStringLiteral("Out of memory"));
        } catch (const std::exception& e) {
            ShowErrorBox(QString::fromLocal8Bit(e.what()));
        }
    } catch (...) {
        // Showing the box failed itself; nothing more can be done here.
    }
}

void ShowInformationBox(const QString& text) {
    ShowBox(QMessageBox::Information, "Information", "InformationBox", text);
}

void ShowWarningBox(const QString& text) {
    ShowBox(QMessageBox::Warning, "Warning", "WarningBox", text);
}

void ShowProgramInformationBox(const QString& text) {
    ShowBox(QMessageBox::Information, ApplicationTitle, "InformationBox", text);
}
