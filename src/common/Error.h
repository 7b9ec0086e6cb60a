#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace trevolo {

// The one kind of failure the program raises. Handlers let it travel to the
// window's guard, which shows its message in the standard error box.
class Error : public std::exception
{
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that the integer rule refuses.
class ConvertError : public Error
{
public:
    explicit ConvertError(const QString &text);
};

// A file that could not be read or written.
class IoError : public Error
{
public:
    using Error::Error;
};

} // namespace trevolo
