#pragma once
// The program's side of the notification channel: a local socket in a private folder on which
// the programs it starts post (name, wParam, lParam) records. Each child gets a token of its
// own (OpenRun) through its environment; a record whose token is open becomes the message
// registered under its name, posted to that run's target with the token as its payload. Records
// with any other token are dropped, so neither a stranger nor a child whose run was closed
// reaches a window.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QTemporaryDir;

namespace zar {

// The payload of a message that came through the channel.
struct NotifyOrigin {
    QString token;
};

class CNotifyServer : public QObject {
    Q_OBJECT
  public:
    explicit CNotifyServer(QObject* parent = nullptr);
    ~CNotifyServer() override;

    // The program's one server, made on first use.
    static CNotifyServer& Instance();

    // Starts listening (on first use of OpenRun too); false when the socket cannot be made.
    bool Listen();
    QString SocketPath() const;

    // A new token whose records go to target; empty when the server cannot listen.
    QString OpenRun(QObject* target);
    // Records with the token are dropped from now on.
    void CloseRun(const QString& token);
    bool IsRunOpen(const QString& token) const;

    // base with ZV_NOTIFY set for a child of the run.
    QProcessEnvironment Environment(
        const QString& token,
        QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const;

    // Records dropped so far (foreign token, closed run, malformed line).
    int DroppedCount() const { return dropped_; }

  private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    void Deliver(const QByteArray& line);

    std::unique_ptr<QTemporaryDir> folder_;
    QLocalServer* server_ = nullptr;
    QHash<QString, QPointer<QObject>> runs_;
    QHash<QLocalSocket*, QByteArray> pending_;
    int dropped_ = 0;
};

}  // namespace zar
