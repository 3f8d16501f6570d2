#include "panel/line_framing.h"

namespace lq {

std::optional<Framing> FramingNamed(const QString& text) {
    for (const Framing framing : kFramings) {
        const std::string_view name = FramingName(framing);
        if (text == QLatin1String(name.data(), static_cast<qsizetype>(name.size()))) return framing;
    }
    return std::nullopt;
}

void StageFraming(TComm& comm, Framing framing) {
    comm.Parity = framing == Framing::E1   ? TParity::Even
                  : framing == Framing::O1 ? TParity::Odd
                                           : TParity::None;
    comm.StageStopBits(framing == Framing::N2 ? TStopBits::_2 : TStopBits::_1);
}

} // namespace lq
