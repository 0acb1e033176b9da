#include "NotifyServer.h"

#include "NotifyClient.h"
#include "NotifyProtocol.h"
#include "TokenFile.h"
#include "messages/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

namespace zar {

CNotifyServer::CNotifyServer(QObject* parent) : QObject(parent) {}

CNotifyServer::~CNotifyServer() = default;

CNotifyServer& CNotifyServer::Instance() {
    // Goes with the application object, so that its socket folder is removed at exit.
    static QPointer<CNotifyServer> server;
    if (!server) server = new CNotifyServer(QCoreApplication::instance());
    return *server;
}

bool CNotifyServer::Listen() {
    if (server_ && server_->isListening()) return true;
    // A folder only this user may enter holds the socket.
    folder_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zv-notify-XXXXXX"));
    if (!folder_->isValid()) return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CNotifyServer::OnNewConnection);
    return server_->listen(folder_->filePath(QStringLiteral("notify")));
}

QString CNotifyServer::SocketPath() const {
    return server_ && server_->isListening() ? server_->fullServerName() : QString();
}

QString CNotifyServer::OpenRun(QObject* target) {
    if (!target || !Listen()) return QString();
    const QString token = NewChannelToken();
    runs_.insert(token, target);
    return token;
}

void CNotifyServer::CloseRun(const QString& token) {
    runs_.remove(token);
}

bool CNotifyServer::IsRunOpen(const QString& token) const {
    return runs_.contains(token);
}

QProcessEnvironment CNotifyServer::Environment(const QString& token,
                                               QProcessEnvironment base) const {
    base.insert(QString::fromLatin1(kNotifyVariable),
                QString::fromStdString(
                    FormatNotifyAddress(token.toStdString(), SocketPath().toStdString())));
    return base;
}

void CNotifyServer::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        pending_.insert(socket, QByteArray());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            OnReadyRead(socket);
            pending_.remove(socket);
            socket->deleteLater();
        });
    }
}

void CNotifyServer::OnReadyRead(QLocalSocket* socket) {
    auto it = pending_.find(socket);
    if (it == pending_.end()) return;
    it->append(socket->readAll());
    qsizetype end;
    while ((end = it->indexOf('\n')) >= 0) {
        Deliver(it->left(end));
        it->remove(0, end + 1);
    }
    // A line that cannot be a record is not waited for: the writer is cut off.
    if (it->size() >= static_cast<qsizetype>(kMaxNotifyRecordLength)) {
        ++dropped_;
        pending_.erase(it);
        socket->abort();
    }
}

void CNotifyServer::Deliver(const QByteArray& line) {
    const std::optional<NotifyRecord> record = ParseNotifyRecord(
        std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
    const QString token = record ? QString::fromStdString(record->token) : QString();
    const auto run = record ? runs_.constFind(token) : runs_.constEnd();
    if (run == runs_.constEnd() || !run.value()) {
        ++dropped_;
        return;
    }
    const unsigned message = RegisterWindowMessage(QString::fromStdString(record->name));
    PostMessage(run.value(), message, record->wParam, record->lParam, NotifyOrigin{token});
}

}  // namespace zar
