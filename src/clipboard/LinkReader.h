#pragma once

#include <QObject>
#include <QString>

class LinkStore;
class Prompter;

// The one reader that turns any text (the paste box, the clipboard, a search
// hit's direct links) into check-list rows.
class LinkReader final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkReader)

public:
    LinkReader(LinkStore &store, Prompter &prompter, QString serviceDomain, QObject *parent = nullptr);

    // Which links a source hands in: the clipboard and the search page take
    // service links only; the paste box and the command line take direct links too.
    enum class Kinds { ServiceLinks, ServiceAndDirectLinks };

    // True when `text` is a service link (LinkKinds::IsServiceLink).
    bool IsSupportedLink(const QString &text) const;

    // Adds every link of the text of the `kinds` wanted (lines end with CR LF,
    // words are separated by blanks) to the check list; returns how many were
    // added. Not `quiet`: a text that is no link at all gets "No Supported links
    // Found." and each link already in the list "Link is already exist"; `quiet`
    // shows neither (the clipboard is read every second). With direct links, a
    // text is a link text when it passes the service test or starts with an
    // http or https address.
    int AddLinksFromText(const QString &text, bool quiet, Kinds kinds = Kinds::ServiceLinks);

    const QString &ServiceDomain() const { return m_serviceDomain; }

    // Line breaks as the reader expects them (CR LF) from text whose lines end
    // with the platform's LF (an LF that has its CR keeps it); one pass.
    static QString WithCrLfLineBreaks(QStringView text);

    // The first line of `text` and every later line that mentions the service
    // domain, with CR LF line breaks: the quiet reader takes the same links from
    // them as from the whole text with CR LF breaks, since every link mentions
    // the domain and the test of the whole text looks at its start. One pass
    // that skips the other lines; a clipboard can hold megabytes of them.
    QString LinkLinesWithCrLfLineBreaks(QStringView text) const;

Q_SIGNALS:
    // Links were added: the checker should start (StartCheck).
    void LinksAdded(int count);

private:
    LinkStore &m_store;
    Prompter &m_prompter;
    QString m_serviceDomain;
};
