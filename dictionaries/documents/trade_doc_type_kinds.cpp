#include "dictionaries/documents/trade_doc_type_kinds.h"

namespace slownik::documents {
namespace {

std::string_view clipped(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<int> tradeKindClass(std::string_view code, std::string_view signature) {
  code = clipped(code);
  if (code == "z") return 3;
  if (code == "s") return clipped(signature) == "FN" ? 101 : 1;
  if (code == "kz") return 4;
  if (code == "ks") return 2;
  return std::nullopt;
}

SummingRule tradeSummingRule(std::string_view signature) {
  signature = clipped(signature);
  if (signature == "PR" || signature == "DRS") return SummingRule::GrossOnly;
  if (signature == "FVk" || signature == "FZk" || signature == "PRk" || signature == "N") return SummingRule::Hidden;
  return SummingRule::Free;
}

}  // namespace slownik::documents
