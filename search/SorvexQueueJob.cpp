#include "SorvexQueueJob.h"

#include "core/Paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zar {

namespace {

constexpr const char* kStates[] = {"Waiting", "Running", "Done", "Failed", "Stopped"};

QJsonArray ToArray(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

QStringList FromArray(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& item : value.toArray()) list << item.toString();
    return list;
}

}  // namespace

int SorvexQueueJob::PriorityRank() const {
    if (priority == QLatin1String("High")) return 0;
    if (priority == QLatin1String("Low")) return 2;
    return 1;
}

QString SorvexQueueJob::StateText(State state) {
    return QString::fromLatin1(kStates[static_cast<int>(state)]);
}

QByteArray SorvexQueueJob::ToJson() const {
    QJsonObject o;
    o.insert(QStringLiteral("id"), id);
    o.insert(QStringLiteral("rawFile"), rawFile);
    o.insert(QStringLiteral("databasePath"), databasePath);
    o.insert(QStringLiteral("resultsDirectory"), resultsDirectory);
    o.insert(QStringLiteral("callerDirectory"), callerDirectory);
    o.insert(QStringLiteral("command"), ToArray(command));
    o.insert(QStringLiteral("commandNoList"), ToArray(commandNoList));
    o.insert(QStringLiteral("priority"), priority);
    o.insert(QStringLiteral("list"), QString::fromLatin1(list.toBase64()));
    o.insert(QStringLiteral("params"), QString::fromLatin1(params.toBase64()));
    o.insert(QStringLiteral("submitted"), submitted.toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("state"), StateText(state));
    o.insert(QStringLiteral("note"), note);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<SorvexQueueJob> SorvexQueueJob::FromJson(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject o = document.object();
    SorvexQueueJob job;
    job.id = o.value(QStringLiteral("id")).toString();
    job.rawFile = o.value(QStringLiteral("rawFile")).toString();
    job.databasePath = o.value(QStringLiteral("databasePath")).toString();
    job.resultsDirectory = o.value(QStringLiteral("resultsDirectory")).toString();
    job.callerDirectory = o.value(QStringLiteral("callerDirectory")).toString();
    job.command = FromArray(o.value(QStringLiteral("command")));
    job.commandNoList = FromArray(o.value(QStringLiteral("commandNoList")));
    job.priority = o.value(QStringLiteral("priority")).toString();
    job.list = QByteArray::fromBase64(o.value(QStringLiteral("list")).toString().toLatin1());
    job.params = QByteArray::fromBase64(o.value(QStringLiteral("params")).toString().toLatin1());
    job.submitted =
        QDateTime::fromString(o.value(QStringLiteral("submitted")).toString(), Qt::ISODateWithMs);
    job.note = o.value(QStringLiteral("note")).toString();
    const QString state = o.value(QStringLiteral("state")).toString();
    for (int i = 0; i < 5; ++i)
        if (state == QLatin1String(kStates[i])) job.state = static_cast<State>(i);
    // A job needs a program to run and a folder to run it in.
    if (job.commandNoList.isEmpty() || job.resultsDirectory.isEmpty()) return std::nullopt;
    return job;
}

bool RunsBefore(const SorvexQueueJob& a, const SorvexQueueJob& b) {
    if (a.PriorityRank() != b.PriorityRank()) return a.PriorityRank() < b.PriorityRank();
    return a.submitted < b.submitted;
}

QString SorvexQueueFolder() {
    return JoinPath(ConfigDirectory(), QStringLiteral("SorvexQueue"));
}

QString SorvexQueueSocketPath() {
    return JoinPath(SorvexQueueFolder(), QStringLiteral("queue.sock"));
}

QString SorvexQueueTokenPath() {
    return JoinPath(SorvexQueueFolder(), QStringLiteral("queue.token"));
}

QString CommandListText(const QStringList& command) {
    return QString::fromUtf8(QJsonDocument(ToArray(command)).toJson(QJsonDocument::Compact));
}

QStringList CommandListFromText(const QString& text) {
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    return document.isArray() ? FromArray(document.array()) : QStringList();
}

QByteArray QueueReply(bool accepted, const QString& text) {
    return (accepted ? QByteArrayLiteral("OK ") : QByteArrayLiteral("ERR ")) + text.toUtf8() + '\n';
}

}  // namespace zar
