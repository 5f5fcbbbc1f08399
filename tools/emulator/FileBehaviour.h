#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How the emulated service treats one file. A file id spells its behaviour:
// words joined by "_", e.g. "7_s5m_dl3" or "12_c0". A word of digits only is a
// seed that tells files apart; every other word is one of
//
//   s<n>[k|m|g]     size in bytes (KiB, MiB, GiB with the suffix); default 1024
//   c<code>         check status code (may be negative, "c-1"); default 1
//   checkerror      the check is answered with a service error line
//   checkbad        the check reply has six fields
//   checkempty      the check reply is empty
//   checknan        the check reply's status field is not a number
//   sizenan         the check reply's size field is not a number
//   wait<n>         the first download request gets a wait sentence of n seconds
//   dl<n>           the "DL:" reply asks for a wait of n seconds; default 0
//   dlbad           the "DL:" reply has three fields
//   dlnan           the "DL:" reply's wait field is not a number
//   dlerror         the download request is answered with a service error line
//   slowcheck<ms>   the check reply comes after <ms> milliseconds
//   slowdl<ms>      the download reply comes after <ms> milliseconds
//   slowpage<ms>    the file page comes after <ms> milliseconds
//   nolen           API replies and the file page carry no Content-Length
//   r301, r302, r303, r307, r308
//                   the file body is first answered with this redirect; for a
//                   /direct path it goes to the same path without this word
//   www             the redirect's Location starts with "http://www."
//   tohttps, tohttp a /direct redirect's Location is absolute, on the emulator's
//                   https (or http) port
//   head405, head501, headclose
//                   a HEAD request is answered 405 or 501, or the connection is
//                   closed without a reply; GET works as usual
//   gone404, gone410
//                   every /direct request is answered with this status
//   cdquoted        Content-Disposition: attachment; filename="quoted name.bin"
//   cdtoken         Content-Disposition: attachment; filename=token.bin
//   cdutf8          Content-Disposition: attachment; filename*=UTF-8''%E2%82%AC%20rates.bin
//   cdboth          filename="plain.bin" and filename*=UTF-8''%C3%BCber.bin
//   cdpath          Content-Disposition: attachment; filename="../../etc/passwd"
//   cdempty         Content-Disposition: attachment; filename=""
//   split           the response header of the body arrives in three pieces
//   chunked         the body is sent with chunked transfer coding
//   unsized         the body has no Content-Length; the connection closes after it
//   close<pct>      the connection closes after <pct> percent of the file
//   stall<pct>      the body stops after <pct> percent of the file; the connection stays open
//   reset<pct>      the connection is reset (TCP RST) after <pct> percent of the file
//   rate<kib>       the body is sent at <kib> KiB per second
//   norange         a Range request is answered with the whole file (200)
//   range416        a Range request is answered with 416
//
// Any other word makes the id unknown to the service.
//
// A body request may ask for "Range: bytes=N-" or "bytes=N-M" and gets those bytes
// of the file with 206 and Content-Range, or 416 when N is at or past the size;
// other Range forms are ignored (200, the whole file). The close, stall and reset
// cut sits at <pct> percent of the whole file, not of the part asked for. It cuts
// a request without Range and a range that starts before the cut; a range that
// starts at the cut or later runs to its end, so a transfer resumed where the cut
// left it completes. Of close, stall and reset an id spells one; with more, the
// later in this list wins.
struct FileBehaviour {
    enum class RedirectScheme { Same, ToHttps, ToHttp };
    enum class CheckAnswer { Normal, ServiceError, SixFields, Empty, StatusNotNumber, SizeNotNumber };
    enum class TicketAnswer { Normal, ThreeFields, WaitNotNumber, ServiceError };

    qint64 size = 1024;
    int checkStatus = 1;
    CheckAnswer check = CheckAnswer::Normal;
    int waitBeforeTicket = -1; // seconds; -1: the ticket comes at once
    int ticketWait = 0;
    TicketAnswer ticket = TicketAnswer::Normal;
    int checkDelayMs = 0;
    int ticketDelayMs = 0;
    int pageDelayMs = 0;
    bool apiWithoutLength = false;

    int redirect = 0; // 0, 301, 302, 303, 307 or 308
    bool redirectWww = false;
    RedirectScheme redirectScheme = RedirectScheme::Same;
    int headStatus = 0; // 405 or 501 for HEAD; -1: HEAD gets no reply; 0: as GET
    int goneStatus = 0; // 404 or 410 for every /direct request; 0: none
    QByteArray contentDisposition; // the field's value; empty: none
    bool splitHeader = false;
    bool chunked = false;
    bool unsized = false;
    int closeAtPercent = -1;
    int stallAtPercent = -1;
    int resetAtPercent = -1;
    qint64 bytesPerSecond = 0; // 0: as fast as the connection takes it
    bool ignoresRange = false;
    bool refusesRange = false;

    // The behaviour spelt by `fileId`, or nothing for an id the service does not know.
    static std::optional<FileBehaviour> FromFileId(const QString &fileId);
};
