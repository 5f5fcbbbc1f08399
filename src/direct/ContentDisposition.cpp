#include "direct/ContentDisposition.h"

#include <QList>
#include <QStringDecoder>

namespace ContentDisposition {

namespace {

struct Parameter {
    QByteArray name; // lower case
    QByteArray value;
    bool quoted = false;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void SkipBlanks(const QByteArray &text, qsizetype &at)
{
    while (at < text.size() && IsBlank(text.at(at)))
        ++at;
}

// The value of a quoted string that starts at `at` (its opening quote), with
// backslash escapes undone; `at` ends past the closing quote.
QByteArray QuotedString(const QByteArray &text, qsizetype &at)
{
    QByteArray value;
    for (++at; at < text.size(); ++at) {
        const char c = text.at(at);
        if (c == '"') {
            ++at;
            break;
        }
        if (c == '\\' && at + 1 < text.size())
            ++at;
        value += text.at(at);
    }
    return value;
}

// The parameters after the disposition type; a malformed one is skipped.
QList<Parameter> Parameters(const QByteArray &field)
{
    QList<Parameter> parameters;
    qsizetype at = field.indexOf(';');
    while (at >= 0 && at < field.size()) {
        ++at; // past ';'
        SkipBlanks(field, at);
        const qsizetype equals = field.indexOf('=', at);
        const qsizetype semicolon = field.indexOf(';', at);
        if (equals < 0)
            break;
        if (semicolon >= 0 && semicolon < equals) {
            at = semicolon;
            continue;
        }
        Parameter parameter;
        parameter.name = field.mid(at, equals - at).trimmed().toLower();
        at = equals + 1;
        SkipBlanks(field, at);
        if (at < field.size() && field.at(at) == '"') {
            parameter.quoted = true;
            parameter.value = QuotedString(field, at);
        } else {
            const qsizetype end = field.indexOf(';', at);
            parameter.value = field.mid(at, end < 0 ? -1 : end - at).trimmed();
            at = end < 0 ? field.size() : end;
        }
        parameters.append(parameter);
        at = field.indexOf(';', at);
    }
    return parameters;
}

// An RFC 5987 ext-value: charset'language'percent-encoded bytes.
QString ExtendedValue(const QByteArray &value)
{
    const qsizetype firstQuote = value.indexOf('\'');
    const qsizetype secondQuote = firstQuote < 0 ? -1 : value.indexOf('\'', firstQuote + 1);
    if (secondQuote < 0)
        return {};
    const QByteArray charset = value.left(firstQuote).toLower();
    const QByteArray bytes = QByteArray::fromPercentEncoding(value.mid(secondQuote + 1));
    if (charset == "iso-8859-1")
        return QString::fromLatin1(bytes);
    if (charset != "utf-8")
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    return decoder.hasError() ? QString() : text;
}

// A plain `filename`: UTF-8 when it is valid UTF-8, ISO-8859-1 otherwise.
QString PlainValue(const QByteArray &value)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(value);
    return decoder.hasError() ? QString::fromLatin1(value) : text;
}

QString LastPathPart(const QString &name)
{
    const qsizetype cut = qMax(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    return name.mid(cut + 1);
}

} // namespace

QString FileName(const QByteArray &field)
{
    QString extended;
    QString plain;
    for (const Parameter &parameter : Parameters(field)) {
        if (parameter.name == "filename*" && !parameter.quoted && extended.isEmpty())
            extended = LastPathPart(ExtendedValue(parameter.value));
        else if (parameter.name == "filename" && plain.isEmpty())
            plain = LastPathPart(PlainValue(parameter.value));
    }
    return extended.isEmpty() ? plain : extended;
}

} // namespace ContentDisposition
