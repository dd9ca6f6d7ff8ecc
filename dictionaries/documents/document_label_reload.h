#pragma once
#include <optional>
#include <string>
#include <vector>

#include "dictionaries/documents/document_label_availability.h"

namespace slownik::documents {

//! A document label as the program's lists show it: its name and colours (-1 = the
//! list's own) and the lists it is offered in.
struct ProgramLabel {
  long long id = 0;
  std::string name;
  long textColour = -1;
  long backColour = -1;
  LabelAvailability available{};
};

//! INICJUJETYKIETYTABEL: reads the current company's document labels again, in place of
//! those kept before, so that the lists opened afterwards show the labels as they are
//! now. The label list calls it after every completed change. Process-wide and
//! thread-safe. When the database can't be read the labels kept before stay, marked
//! stale, and the next reader tries again.
void reloadProgramLabels();
//! How many reloads were asked for since the process started.
long programLabelReloads();

//! The current company's labels offered in list `position` (1..9; 0 = every label), by
//! name. Read at the first use for the company; afterwards from memory until the next
//! reloadProgramLabels(), or a minute on (another program may have changed them). What a
//! list showing labels (a column, a filter) reads.
std::vector<ProgramLabel> programLabels(int position = 0);
//! One label of the current company by its id; nullopt when there is none.
std::optional<ProgramLabel> programLabel(long long id);

}  // namespace slownik::documents
