// Types arbitrary text into an entry field with arbitrary precision and units, accepts it, and checks that
// the field ends with a finite Value and shows exactly that Value formatted, as after any accept.
#include <QApplication>
#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_number.h"

namespace {

// One application for the whole run: Qt allows only one, and creating it per input would dominate.
QApplication& App() {
    static int argc = 1;
    static char name[] = "entry_accept_fuzz";
    static char* argv[] = {name, nullptr};
    static const bool platformSet = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return true;
    }();
    (void)platformSet;
    static QApplication app(argc, argv);
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    App();
    lq::FuzzInput in(data, size);
    lq::TiAnalogOutput field;
    const int precision = static_cast<int>(in.Byte() % 8) - 1;
    field.SetPrecision(precision);
    field.SetUnitsText(QString::fromUtf8(in.Bytes(in.Byte() % 6)));
    field.SetUndoOnError(in.Byte() % 4 != 0);
    const bool filtered = in.Byte() % 2 == 0;
    field.SetFilterStyle(filtered ? lq::ifisAuto : lq::ifisNone);
    const double start = static_cast<double>(in.Int32()) / 8;
    field.SetValue(start);

    while (!in.Empty()) {
        const double before = field.Value();
        const QString acceptedBefore = field.LastAcceptedText();
        const QString typed = QString::fromUtf8(in.Bytes(in.Byte() % 64));
        field.Editor()->setText(typed);
        bool raised = false;
        try {
            field.Accept();
        } catch (const lq::EConvertError&) {
            raised = true;
        }
        LQ_FUZZ_CHECK(std::isfinite(field.Value()));
        if (raised) {
            // Only a field told not to undo may raise, and it keeps its Value.
            LQ_FUZZ_CHECK(!field.UndoOnError());
            LQ_FUZZ_CHECK(field.Value() == before);
            field.Undo();
        }
        LQ_FUZZ_CHECK(field.Text() == field.LastAcceptedText());
        LQ_FUZZ_CHECK(field.Text() == lq::FormatNumber(field.Value(), field.Precision(), field.UnitsText()));
        if (field.Value() == before) LQ_FUZZ_CHECK(field.Text() == acceptedBefore);
    }
    return 0;
}
