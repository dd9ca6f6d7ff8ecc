#pragma once
// The country and province pickers of the forms that hold an address (the company's
// seat, the excise person): a lookup button beside each field, and a country typed that
// the country list does not know opens the list.
#include <string>

#include "engine/record_form.h"

namespace slownik::company {

inline constexpr int kCountryPicker = 1;
inline constexpr int kProvincePicker = 2;

//! Registers both pickers with the form.
void addPlacePickers(engine::RecordForm& form);

//! Opens the country list positioned on `field` ("ADRFIR:SYM_KRAJU"); on a choice the
//! symbol goes into the field. The picker's answer (1 chosen, 2 cancelled).
int pickCountry(engine::RecordForm& form, const std::string& field);
//! Whether the field holds a country symbol the country list knows.
bool isKnownCountry(const std::string& symbol);
//! Opens the province list positioned on `field`; on a choice the province's name
//! goes into the field. The picker's answer.
int pickProvince(engine::RecordForm& form, const std::string& field);

//! The calendar at a date field's button: the chosen day goes into `field`.
void pickDate(engine::RecordForm& form, const std::string& field);

}  // namespace slownik::company
