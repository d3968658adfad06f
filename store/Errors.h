#pragma once

#include <QString>
#include <exception>

// An error raised inside the program's own code. Each event step catches it
// at its boundary (RunStep) and shows its message in the error box.
class EZirmonError : public std::exception {
public:
    explicit EZirmonError(QString message) : Message(std::move(message)) {}
    const QString& message() const { return Message; }
    const char* what() const noexcept override { return "Zirmon error"; }

private:
    QString Message;
};
