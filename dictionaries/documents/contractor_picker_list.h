#pragma once

//! The contractor picker ("Wybierz kontrahenta"): the current company's contractors in
//! seven search orders, narrowed by `sqlCondition` (an SQL condition on the view, alias A,
//! such as "A.OPERATOR_PLATNOSCI=1"; may be empty or null) and by the user's rights to
//! suppliers and recipients. Called with GLOBALREQUEST 4; GLOBALRESPONSE 1 leaves the
//! chosen contractor in the KON1: buffer. Opens on the contractor whose id is in the KON1:
//! buffer, else the one in the KON: buffer.
extern "C" void KONTRAHENTFORMA_BRW(const char* sqlCondition);
