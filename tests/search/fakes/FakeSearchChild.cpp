// Plays dravel_msn / dravel_ms (extraction), sorvex27 / massmap (search) or dbtally by the name
// it is started under. ZAR_FAKE_MODE changes how it behaves:
//   hang       stops after the first file and waits to be ended
//   overlong   first sends a pipe message longer than the reader's buffer
//   drain      first writes bytes it announces with a length of -1, then waits a moment
//   nul        names its files with a NUL and rubbish behind the name
// ZAR_FAKE_LOG names a folder where "<role>.args" gets the working folder and the arguments,
// one a line, "<role>.env" its notification address and "<role>.params" the parameters the
// search read.

#include "ipc/NotifyClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <string>

namespace {

QString Mode() {
    return qEnvironmentVariable("ZAR_FAKE_MODE");
}

void Log(const QString& role, const QString& suffix, const QByteArray& bytes) {
    const QString folder = qEnvironmentVariable("ZAR_FAKE_LOG");
    if (folder.isEmpty()) return;
    QFile file(QDir(folder).filePath(role + suffix));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QString Option(const QStringList& args, QChar letter) {
    for (const QString& a : args)
        if (a.size() >= 2 && a[0] == QLatin1Char('-') && a[1] == letter) return a.mid(2);
    return QString();
}

void Hang() {
    for (;;) QThread::sleep(60);
}

void WriteStderr(const QByteArray& bytes) {
    fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    fflush(stderr);
}

int Extract(const QString& role, const QStringList& args) {
    const char* name =
        role == QLatin1String("dravel_ms") ? "ZV_DRAVELMS_PROGRESS" : "ZV_DRAVELMSN_PROGRESS";
    const QString folder = Option(args, QLatin1Char('D'));
    const int first =
        Option(args, QLatin1Char('F')).isEmpty() ? 1 : Option(args, QLatin1Char('F')).toInt();
    const int last =
        Option(args, QLatin1Char('L')).isEmpty() ? 3 : Option(args, QLatin1Char('L')).toInt();
    const QString base = QFileInfo(args.last()).completeBaseName();
    if (Mode() == QLatin1String("overlong")) {
        const QByteArray junk(3000, 'x');
        WriteStderr(junk);
        zar::PostRegisteredMessage(name, 0, junk.size());
    } else if (Mode() == QLatin1String("drain")) {
        WriteStderr(QByteArray(100, 'y'));
        zar::PostRegisteredMessage(name, 0, -1);
        // A length of -1 throws away what is in the pipe then; the names come after that.
        QThread::msleep(500);
    }
    for (int scan = first; scan <= last && scan < first + 50; ++scan) {
        const QString file =
            QStringLiteral("%1.%2.%2.2.dta").arg(base).arg(scan, 4, 10, QLatin1Char('0'));
        QFile dta(QDir(folder).filePath(file));
        if (dta.open(QIODevice::WriteOnly)) dta.write("1000.0 2\n100.0 10.0\n");
        dta.close();
        if (Mode() == QLatin1String("nul")) {
            QByteArray bytes;
            for (QChar c : QStringLiteral("$") + file)
                bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            bytes.append(2, '\0').append("r\0u\0b\0", 6);
            WriteStderr(bytes);
            zar::PostRegisteredMessage(name, 0, bytes.size());
        } else {
            zar::PostPipeMessage(name, ("$" + file).toStdString());
        }
        zar::PostRegisteredMessage(name, 1, scan);
        if (Mode() == QLatin1String("hang")) Hang();
    }
    zar::PostRegisteredMessage(name, 0, 0);
    return 0;
}

QStringList ReadList(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QString text;
    if (bytes.startsWith("\xFF\xFE"))
        text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                  (bytes.size() - 2) / 2);
    else
        text = QString::fromUtf8(bytes);
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int Search(const QString& role, const QStringList& args) {
    const char* name =
        role == QLatin1String("massmap") ? "ZV_MASSMAP_PROGRESS" : "ZV_SORVEX_PROGRESS";
    QString params = Option(args, QLatin1Char('P'));
    if (params.isEmpty()) params = role + QStringLiteral(".params");
    QFile paramFile(params);
    Log(role, QStringLiteral(".params"),
        paramFile.open(QIODevice::ReadOnly) ? paramFile.readAll() : QByteArray("(none)"));
    const QStringList names = ReadList(Option(args, QLatin1Char('R')));
    for (int i = 0; i < names.size(); ++i) {
        zar::PostRegisteredMessage(name, zar::MakeWParam(i + 1, 50), 2);
        QFile out(QFileInfo(names[i]).completeBaseName() + QStringLiteral(".out"));
        if (out.open(QIODevice::WriteOnly)) out.write("fake\n");
        out.close();
        if (qEnvironmentVariable("ZAR_FAKE_SEARCH_MODE") == QLatin1String("hang")) Hang();
        zar::PostRegisteredMessage(name, zar::MakeWParam(0, 2), 3);
    }
    zar::PostRegisteredMessage(name, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The link's name tells the part to play, not the program it points at.
    QString role = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    if (role.endsWith(QLatin1String(".exe"))) role.chop(4);
    const QStringList args = app.arguments().mid(1);
    Log(role, QStringLiteral(".env"), qgetenv(zar::kNotifyVariable));
    Log(role, QStringLiteral(".args"),
        (QDir::currentPath() + QLatin1Char('\n') + args.join(QLatin1Char('\n'))).toUtf8());
    if (role.startsWith(QLatin1String("dravel"))) return args.isEmpty() ? 2 : Extract(role, args);
    if (role == QLatin1String("sorvex27") || role == QLatin1String("massmap"))
        return Search(role, args);
    if (role == QLatin1String("dbtally")) {
        zar::PostRegisteredMessage("WM_DATABASE_SIZE", 0, 4242);
        return 0;
    }
    return 2;
}
