#pragma once

#include <QString>

#include <exception>

// The application-defined error that the timer collection raises: a number, the
// member that raised it and a description.
class TimerError final : public std::exception
{
public:
    static constexpr qint32 ApplicationError = qint32(0x80040000);
    static constexpr qint32 InvalidArgument = 5;
    static constexpr qint32 Overflow = 6;

    TimerError(qint32 number, QString source, QString description);

    qint32 Number() const { return m_number; }
    const QString &Source() const { return m_source; }
    const QString &Description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};
