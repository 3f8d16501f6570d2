#include "panel/port_framing.h"

namespace lq {

void StageFraming(TComm& comm, Framing framing) {
    switch (ParityOf(framing)) {
    case FramingParity::None:
        comm.Parity = TParity::None;
        break;
    case FramingParity::Even:
        comm.Parity = TParity::Even;
        break;
    case FramingParity::Odd:
        comm.Parity = TParity::Odd;
        break;
    }
    comm.StageStopBits(StopBitsOf(framing) == 2 ? TStopBits::_2 : TStopBits::_1);
}

} // namespace lq
