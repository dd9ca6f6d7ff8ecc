#pragma once

//! The unit chooser ("Wybierz jednostkę") of a document position: the units of article
//! `articleId` and its base unit `baseUnitId`, each with the position's quantity
//! (`baseQuantity` base units) converted into it. The position now holds `quantity` in a
//! unit of factor `factor` and symbol `unitSymbol` (may be null).
//!
//! Called with GLOBALREQUEST 4. Returns the quantity to put on the position in the chosen
//! unit (4 places): as typed ("&Wybierz"), converted so that the physical amount stays
//! ("Wybierz jednostkę i ilość"), or as changed in the quantity-change window; cut to a
//! whole number, with a warning, when the unit is indivisible. GLOBALRESPONSE 1 leaves the
//! chosen unit in the JEDNOSTKA buffer; the result comes back with any response, but only
//! a response of 1 makes it meaningful.
extern "C" double WYBIERZJEDNOSTKEARTYKULU(double articleId, double baseUnitId, double baseQuantity, double quantity,
                                           double factor, const char* unitSymbol);
