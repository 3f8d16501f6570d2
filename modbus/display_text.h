#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lq {

// Every text a person reads is written in Chinese at the place that shows it. The plain C++ rooms cannot call
// Qt's translation functions, so they look texts up through this hook, which the program points at
// QCoreApplication::translate; until then (and in their own tests) the Chinese source is the text.
// lupdate collects the texts of LQ_TR and LQ_TR_NOOP as it does those of QT_TRANSLATE_NOOP.
using TextLookup = std::string (*)(const char* context, const char* source);

void InstallTextLookup(TextLookup lookup);

// The text in the interface's language.
std::string Translated(const char* context, const char* source);

// pattern with "%1" … "%9" replaced by the arguments, as QString::arg does, so that a translation may put
// them in another order.
std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> arguments);

} // namespace lq

#define LQ_TR(context, source) ::lq::Translated(context, source)
// Marks a text kept in a table; it is looked up with Translated() where it is shown.
#define LQ_TR_NOOP(context, source) source
