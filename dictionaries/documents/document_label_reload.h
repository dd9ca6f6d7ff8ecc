#pragma once

namespace slownik::documents {

//! Tells the rest of the program that the document labels changed, so that the lists
//! which show labels read them again. The table-definition services are where the
//! program keeps its labels (INICJUJETYKIETYTABEL); our framework does not offer that
//! service yet, so for now the label list records each reload here, and a cache added
//! later reads programLabelReloads() to know it is stale. Thread-safe.
void reloadProgramLabels();
//! How many reloads were asked for since the process started.
long programLabelReloads();

}  // namespace slownik::documents
