#include "app/ErrorBox.h"

#include "store/Errors.h"

#include <QApplication>
#include <QMessageBox>
#include <new>

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void ShowErrorBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ApplicationTitle),
                    ErrorBoxText(message), QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
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

namespace {
void ShowPlainBox(QMessageBox::Icon icon, const char* caption, const char* name,
                  const QString& text) {
    QMessageBox box(icon, QString::fromLatin1(caption), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QString::fromLatin1(name));
    box.exec();
}
} // namespace

void ShowInformationBox(const QString& text) {
    ShowPlainBox(QMessageBox::Information, "Information", "InformationBox", text);
}

void ShowWarningBox(const QString& text) {
    ShowPlainBox(QMessageBox::Warning, "Warning", "WarningBox", text);
}
