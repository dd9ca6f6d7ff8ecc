#include "dictionaries/documents/doc_type_list.h"

#include <utility>

#include "framework/data/requests.h"
#include "framework/data/table_buffers.h"
#include "framework/services/numbering_formats.h"

namespace slownik::documents {
namespace {

constexpr int kSystemColumn = 1;  // "S"
constexpr int kCheckIcon = 1;

}  // namespace

DocTypeList::DocTypeList(engine::ListDescriptor descriptor, std::string systemField)
    : ListWindow(std::move(descriptor)), systemField_(std::move(systemField)) {}

int DocTypeList::opened() {
  window()->setIconList("?LIST", {"~32redchk.ico"});
  return 0;
}

void DocTypeList::flagIcon(fw::ListRow& row, int column, const char* field) const {
  setIcon(row, column, data::field(field).number() == 1 ? kCheckIcon : 0);
  hideText(row, column);
}

void DocTypeList::setQueueRecord(fw::ListRow& row, const data::ViewRow& source) {
  ListWindow::setQueueRecord(row, source);
  flagIcon(row, kSystemColumn, systemField_.c_str());
}

bool DocTypeList::isSystemType() const { return data::field(systemField_).number() == 1; }

int DocTypeList::run(int number, int request) {
  // The browse has read the row into the record buffer before asking for the form.
  if (request == data::kDeleteRecord && this->request() != data::kViewRecord && isSystemType()) {
    warn("Nie można usunąć systemowego typu dokumentu!");
    return data::kRequestCancelled;
  }
  int response = ListWindow::run(number, request);
  if (response == data::kRequestCompleted) {
    changed_ = true;
    completed(request);
  }
  return response;
}

void DocTypeList::closeActions() {
  if (changed_) svc::LADUJFORMATYNUMERACJI();
}

}  // namespace slownik::documents
