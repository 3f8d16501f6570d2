#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "panel/parameters/parameter_file.h"

namespace {

void Write(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(ParameterFile, ASavedSetReadsBackWithItsHeaderAndPeopleFields) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.json"));
    const lq::ParameterSet set{{4, 1000}, {36, 300}, {41, 120}};
    const lq::ParameterFileHeader header{"2026-12-10T14:03:05.123+08:00", "COM4", 9600, "8_E_1", 3, "炉 3"};
    ASSERT_EQ(lq::SaveParameterFile(path, header, set), QString());

    const lq::LoadedParameters loaded = lq::LoadParameterFile(path);
    ASSERT_TRUE(loaded.set) << loaded.error.toStdString();
    EXPECT_EQ(*loaded.set, set);
    EXPECT_EQ(loaded.header.label, "炉 3");
    EXPECT_EQ(loaded.header.baud, 9600u);
    EXPECT_EQ(loaded.header.address, 3);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject sv =
        QJsonDocument::fromJson(file.readAll())[QStringLiteral("parameters")][1].toObject();
    EXPECT_EQ(sv[QStringLiteral("name")].toString(), QStringLiteral("SV"));
    EXPECT_EQ(sv[QStringLiteral("value")].toDouble(), 30.0);
    EXPECT_EQ(sv[QStringLiteral("unit")].toString(), QStringLiteral("°C"));
}

TEST(ParameterFile, TheRawValueCountsAndNotTheValueForPeople) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.json"));
    Write(path, R"({"format": "lq-modbus-rtu parameters", "version": 1,
                    "parameters": [{"register": 36, "raw": 300, "value": 99.9}]})");
    const lq::LoadedParameters loaded = lq::LoadParameterFile(path);
    ASSERT_TRUE(loaded.set) << loaded.error.toStdString();
    EXPECT_EQ(loaded.set->at(36), 300);
}

TEST(ParameterFile, ARefusedFileSaysWhy) {
    QTemporaryDir dir;
    const struct {
        QByteArray text;
        const char* reason;
    } cases[] = {
        {"{\"format\": ", "不是参数文件"},
        {"[1, 2]", "不是参数文件"},
        {R"({"format": "x", "version": 1, "parameters": []})", "格式名"},
        {R"({"format": "lq-modbus-rtu parameters", "version": 1, "parameters": [{"register": 36, "raw": "300"}]})",
         "原始值"},
    };
    const QString path = dir.filePath(QStringLiteral("bad.json"));
    for (const auto& c : cases) {
        Write(path, c.text);
        const lq::LoadedParameters loaded = lq::LoadParameterFile(path);
        EXPECT_FALSE(loaded.set) << c.text.toStdString();
        EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(c.reason))) << loaded.error.toStdString();
    }
    EXPECT_TRUE(lq::LoadParameterFile(dir.filePath(QStringLiteral("missing.json")))
                    .error.contains(QStringLiteral("无法打开")));
}

TEST(ParameterFile, AFileThatCannotBeWrittenLeavesNothingBehind) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no-such-folder/set.json"));
    EXPECT_FALSE(lq::SaveParameterFile(path, {}, {{36, 300}}).isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
}

} // namespace
