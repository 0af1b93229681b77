#include "FirebirdService.h"

#include "datamodule/Credentials.h"
#include "dataset/DbError.h"

#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <mutex>

#include <ibase.h>

namespace {

QString statusText(const ISC_STATUS *status)
{
    QStringList lines;
    char buffer[1024];
    const ISC_STATUS *vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector))
        lines << QString::fromLocal8Bit(buffer).trimmed();
    return lines.join(u'\n');
}

// A services (or database) parameter block: one tag byte, then the value.
class Spb
{
public:
    explicit Spb(char first) { m_bytes.append(first); }
    Spb &tag(char t)
    {
        m_bytes.append(t);
        return *this;
    }
    Spb &text(char t, const QString &value) // two-byte length, as services requests want
    {
        const QByteArray bytes = value.toLocal8Bit();
        m_bytes.append(t);
        m_bytes.append(char(bytes.size() & 0xff)).append(char((bytes.size() >> 8) & 0xff));
        m_bytes.append(bytes);
        return *this;
    }
    Spb &shortText(char t, const QByteArray &value) // one-byte length, as the attach block wants
    {
        m_bytes.append(t).append(char(value.size())).append(value);
        return *this;
    }
    // The user and password for `database`: the same tags open a services
    // attach block and a database parameter block.
    Spb &login(const QString &database)
    {
        const Credentials pair = credentialsFor(database);
        return shortText(isc_dpb_user_name, pair.userName.toLocal8Bit())
            .shortText(isc_dpb_password, pair.password.toLocal8Bit());
    }
    Spb &number(char t, quint32 value)
    {
        m_bytes.append(t);
        for (int i = 0; i < 4; ++i)
            m_bytes.append(char((value >> (8 * i)) & 0xff));
        return *this;
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A restore whose backup file ends early asks for the next volume on the
// process's own standard input and waits for an answer there; the program
// reads nothing from it, so it gets the null device and the restore fails
// at once instead of hanging.
void detachStandardInput()
{
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef Q_OS_WIN
        std::FILE *in = std::freopen("NUL", "r", stdin);
#else
        std::FILE *in = std::freopen("/dev/null", "r", stdin);
#endif
        Q_UNUSED(in);
    });
}

// gbak's progress: a line every this many rows.
constexpr quint32 kRowsPerLine = 1000;

} // namespace

struct FirebirdService::Session
{
    isc_svc_handle handle = 0;
};

FirebirdService::FirebirdService(const QString &server) : m_session(std::make_unique<Session>())
{
    const QByteArray name = server.toLocal8Bit() + "service_mgr";
    Spb attach(isc_spb_version);
    attach.tag(isc_spb_current_version).login(server);
    ISC_STATUS_ARRAY status{};
    if (isc_service_attach(status, 0, name.constData(), &m_session->handle, ushort(attach.bytes().size()),
                           attach.bytes().constData()))
        throw DbError(QStringLiteral("Não foi possível falar com o gerenciador de serviços do Firebird (%1).\n%2")
                          .arg(QString::fromLocal8Bit(name), statusText(status)));
}

FirebirdService::~FirebirdService()
{
    ISC_STATUS_ARRAY status{};
    if (m_session->handle)
        isc_service_detach(status, &m_session->handle);
}

void FirebirdService::start(const QByteArray &request)
{
    ISC_STATUS_ARRAY status{};
    if (isc_service_start(status, &m_session->handle, nullptr, ushort(request.size()), request.constData()))
        throw DbError(statusText(status));
}

void FirebirdService::readOutput(const LineHandler &onLine)
{
    const char items[] = {isc_info_svc_line};
    char buffer[16384];
    for (;;) {
        ISC_STATUS_ARRAY status{};
        if (isc_service_query(status, &m_session->handle, nullptr, 0, nullptr, sizeof items, items, sizeof buffer,
                              buffer))
            throw DbError(statusText(status));
        const char *p = buffer;
        if (*p != isc_info_svc_line)
            return; // isc_info_end: nothing more will come
        ++p;
        const auto length = ushort(isc_vax_integer(p, 2));
        if (length == 0)
            return; // the service has ended and its output is read
        if (onLine)
            onLine(QString::fromLocal8Bit(p + 2, length));
    }
}

void FirebirdService::backup(const QString &database, const QString &backupFile, const LineHandler &onLine)
{
    Spb request(isc_action_svc_backup);
    request.text(isc_spb_dbname, database).text(isc_spb_bkp_file, backupFile).number(isc_spb_verbint, kRowsPerLine);
    start(request.bytes());
    readOutput(onLine);
}

void FirebirdService::restore(const QString &backupFile, const QString &database, const LineHandler &onLine)
{
    detachStandardInput();
    Spb request(isc_action_svc_restore);
    request.text(isc_spb_bkp_file, backupFile)
        .text(isc_spb_dbname, database)
        .number(isc_spb_verbint, kRowsPerLine)
        .number(isc_spb_options, isc_spb_res_create);
    start(request.bytes());
    readOutput(onLine);
}

QString FirebirdService::validationErrors(const QString &database)
{
    Spb request(isc_action_svc_repair);
    request.text(isc_spb_dbname, database).number(isc_spb_options, isc_spb_rpr_validate_db | isc_spb_rpr_full);
    // The engine answers the start with its summary when it found anything.
    QString summary;
    try {
        start(request.bytes());
        readOutput({});
        return {};
    } catch (const DbError &e) {
        summary = e.text();
    }
    static const QRegularExpression countLine(QStringLiteral("errors\\s*:\\s*(\\d+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList errors;
    bool counted = false;
    for (const QString &line : summary.split(u'\n')) {
        if (line.contains(QLatin1String("Number of"), Qt::CaseInsensitive))
            counted = true;
        const QRegularExpressionMatch m = countLine.match(line);
        if (m.hasMatch() && m.captured(1).toLongLong() > 0)
            errors << line.simplified();
    }
    if (!counted) // not a summary: the validation itself could not run
        throw DbError(summary);
    return errors.join(u'\n');
}

void dropDatabase(const QString &connectString)
{
    const QByteArray name = connectString.toLocal8Bit();
    Spb dpb(isc_dpb_version1);
    dpb.login(connectString);
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    if (isc_attach_database(status, 0, name.constData(), &db, short(dpb.bytes().size()), dpb.bytes().constData()))
        throw DbError(statusText(status));
    if (isc_drop_database(status, &db)) {
        const QString failure = statusText(status);
        isc_detach_database(status, &db);
        throw DbError(failure);
    }
}
