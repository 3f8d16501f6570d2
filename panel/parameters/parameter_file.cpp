#include "panel/parameters/parameter_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <chrono>

#include "modbus/local_time_text.h"
#include "panel/parameters/parameter_texts.h"

namespace lq {

namespace {

std::optional<double> NumberField(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (!value.isDouble()) return std::nullopt;
    return value.toDouble();
}

ParameterFileContent ContentOf(const QJsonObject& root) {
    ParameterFileContent content;
    if (root.value(QStringLiteral("format")).isString())
        content.format = root.value(QStringLiteral("format")).toString().toStdString();
    content.version = NumberField(root, QStringLiteral("version"));
    const QJsonValue list = root.value(QStringLiteral("parameters"));
    content.hasParameterList = list.isArray();
    for (const auto& entry : list.toArray())
        content.parameters.push_back({NumberField(entry.toObject(), QStringLiteral("register")),
                                      NumberField(entry.toObject(), QStringLiteral("raw"))});
    ParameterFileHeader& header = content.header;
    header.saved = root.value(QStringLiteral("saved")).toString().toStdString();
    header.port = root.value(QStringLiteral("port")).toString().toStdString();
    header.baud = static_cast<std::uint32_t>(root.value(QStringLiteral("baud")).toInteger());
    header.framing = root.value(QStringLiteral("framing")).toString().toStdString();
    header.address = root.value(QStringLiteral("address")).toInt();
    header.label = root.value(QStringLiteral("label")).toString().toStdString();
    return content;
}

QJsonObject EntryOf(int reg, std::uint16_t raw) {
    const auto info = ParameterOf(reg);
    QJsonObject entry;
    entry.insert(QStringLiteral("register"), reg);
    entry.insert(QStringLiteral("name"),
                 info ? QString::fromUtf8(info->name.data(), info->name.size()) : QString());
    entry.insert(QStringLiteral("raw"), raw);
    entry.insert(QStringLiteral("value"), ParameterValue(reg, raw));
    entry.insert(QStringLiteral("unit"),
                 info ? QString::fromUtf8(info->unit.data(), info->unit.size()) : QString());
    return entry;
}

} // namespace

LoadedParameters LoadParameterFile(const QString& path) {
    LoadedParameters loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.error = ParameterTexts::CannotOpen(path, file.errorString());
        return loaded;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        loaded.error = ParameterTexts::NotJson(
            path, parseError.error != QJsonParseError::NoError ? parseError.errorString() : QString());
        return loaded;
    }
    const ParameterFileContent content = ContentOf(document.object());
    loaded.header = content.header;
    const FileCheck check = CheckParameterFile(content);
    if (check.problem != FileProblem::None) {
        loaded.error = ParameterTexts::Refused(path, check);
        return loaded;
    }
    loaded.set = check.set;
    return loaded;
}

QString SaveParameterFile(const QString& path, const ParameterFileHeader& header, const ParameterSet& set) {
    QJsonObject root;
    root.insert(QStringLiteral("format"),
                QString::fromUtf8(kParameterFileFormat.data(), kParameterFileFormat.size()));
    root.insert(QStringLiteral("version"), kParameterFileVersion);
    root.insert(QStringLiteral("saved"), QString::fromStdString(header.saved));
    root.insert(QStringLiteral("port"), QString::fromStdString(header.port));
    root.insert(QStringLiteral("baud"), static_cast<qint64>(header.baud));
    root.insert(QStringLiteral("framing"), QString::fromStdString(header.framing));
    root.insert(QStringLiteral("address"), header.address);
    root.insert(QStringLiteral("label"), QString::fromStdString(header.label));
    QJsonArray list;
    for (const auto& [reg, raw] : set)
        list.append(EntryOf(reg, raw));
    root.insert(QStringLiteral("parameters"), list);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit())
        return ParameterTexts::CannotWrite(path, file.errorString());
    return {};
}

QString SavedNow() {
    return QString::fromStdString(IsoTimeText(std::chrono::system_clock::now()));
}

} // namespace lq
