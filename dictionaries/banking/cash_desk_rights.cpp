#include "dictionaries/banking/cash_desk_rights.h"

#include "framework/services/rights.h"

namespace slownik::banking {

std::string cashDeskRowFilter(std::string_view idColumn) {
  std::string view = svc::objectRightFilter("OKasy", idColumn);
  if (view.empty() || view == "1=0") return view;
  return view + " and " + svc::objectRightFilter("Kasy", idColumn);
}

}  // namespace slownik::banking
