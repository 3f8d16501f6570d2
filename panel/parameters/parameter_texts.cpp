#include "panel/parameters/parameter_texts.h"

#include <QStringList>

#include "modbus/register_labels.h"

namespace lq {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString ParameterTexts::CannotOpen(const QString& path, const QString& reason) {
    return tr("无法打开 %1：%2").arg(path, reason);
}

QString ParameterTexts::NotJson(const QString& path, const QString& reason) {
    return tr("%1 不是参数文件（不是 JSON 对象）%2")
        .arg(path, reason.isEmpty() ? QString() : tr("：") + reason);
}

QString ParameterTexts::Refused(const QString& path, const FileCheck& check) {
    const QString item = QString::number(check.index + 1);
    const QString reg = QString::number(check.reg, 'g', 12);
    QString reason;
    switch (check.problem) {
    case FileProblem::None:
        return {};
    case FileProblem::NotJson:
        return NotJson(path, {});
    case FileProblem::WrongFormat:
        reason = tr("格式名 (format) 不是 \"%1\"").arg(Utf8(kParameterFileFormat));
        break;
    case FileProblem::WrongVersion:
        reason = tr("版本 (version) 不是 %1").arg(kParameterFileVersion);
        break;
    case FileProblem::NoParameterList:
        reason = tr("缺少参数列表 (parameters)");
        break;
    case FileProblem::EmptyList:
        reason = tr("参数列表 (parameters) 为空");
        break;
    case FileProblem::BadRegister:
        reason = tr("第 %1 项的寄存器 (register) 缺失或不是整数").arg(item);
        break;
    case FileProblem::NotAParameter:
        reason = tr("第 %1 项的寄存器 %2 不是控制器参数").arg(item, reg);
        break;
    case FileProblem::BadRaw:
        reason = tr("第 %1 项（寄存器 %2）的原始值 (raw) 缺失或超限：应为 0 至 65535 的整数").arg(item, reg);
        break;
    case FileProblem::Duplicate:
        reason = tr("第 %1 项：寄存器 %2 重复").arg(item, reg);
        break;
    }
    return tr("%1 被拒绝，未写入任何值：%2").arg(path, reason);
}

QString ParameterTexts::CannotWrite(const QString& path, const QString& reason) {
    return tr("无法写入 %1：%2").arg(path, reason);
}

QString ParameterTexts::ReadFailed(ReadOutcome outcome) {
    if (outcome == ReadOutcome::NothingSent)
        return tr("读取失败：%1 秒内没有发出读请求（串口未打开或未勾选“通讯”）")
            .arg(ParameterReader::kTimeAllowed.count());
    return tr("读取失败：控制器 %1 秒内无有效应答").arg(ParameterReader::kTimeAllowed.count());
}

QString ParameterTexts::Register(int reg) {
    const auto info = ParameterOf(reg);
    return QStringLiteral("r%1 %2").arg(reg).arg(info ? QString::fromStdString(ShownCaption(info->name))
                                                      : QString());
}

QString ParameterTexts::Value(int reg, std::uint16_t raw) {
    return QString::fromStdString(ParameterValueText(reg, raw));
}

QString ParameterTexts::PlannedLine(const PlannedWrite& write) {
    return tr("%1：%2 → %3")
        .arg(Register(write.reg), Value(write.reg, write.from), Value(write.reg, write.to));
}

QString ParameterTexts::Result(const RestoreStep& step) {
    switch (step.result) {
    case RestoreResult::Pending:
        return tr("未写");
    case RestoreResult::Written:
        return tr("已写入，回读一致");
    case RestoreResult::NotSent:
        return tr("未发送（串口未打开或未勾选“通讯”）");
    case RestoreResult::Refused:
        return tr("控制器拒绝 (exception)");
    case RestoreResult::Unconfirmed:
        return tr("重发后仍无回显 (echo)");
    case RestoreResult::Superseded:
        return tr("被另一条命令取代");
    case RestoreResult::ReadBackDiffers:
        return tr("回读值不符：%1").arg(step.readBack ? Value(step.write.reg, *step.readBack) : QString());
    case RestoreResult::ReadBackMissing:
        return tr("%1 秒内无回读").arg(RestoreSequence::kReadBackAllowed.count());
    }
    return {};
}

QString ParameterTexts::Summary(const RestoreSequence& sequence, std::size_t alreadyEqual) {
    QStringList written;
    QString failed;
    for (const RestoreStep& step : sequence.Steps()) {
        if (step.result == RestoreResult::Written)
            written << Register(step.write.reg);
        else if (step.result != RestoreResult::Pending)
            failed = tr("%1 %2").arg(Register(step.write.reg), Result(step));
    }
    QString text = tr("已写入 %1 个：%2；原本相同 %3 个")
                       .arg(written.size())
                       .arg(written.isEmpty() ? tr("无") : written.join(tr("、")))
                       .arg(alreadyEqual);
    if (!failed.isEmpty()) text += tr("；失败：%1，恢复已停止").arg(failed);
    if (sequence.Current() == RestoreSequence::State::Cancelled) text += tr("；已取消");
    return text;
}

} // namespace lq
