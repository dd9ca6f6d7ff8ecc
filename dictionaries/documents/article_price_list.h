#pragma once

//! The price chooser ("Wybierz Cenę") of a document position: the price types offered to
//! category `categoryId`, each with the net and gross price of the article in this
//! thread's ARTYKUL buffer (both 0 where the article has no price of that type; such a
//! type can still be chosen). Called with GLOBALREQUEST 4; GLOBALRESPONSE 1 leaves the
//! chosen row in the CENA_KATEGORII, CENA and CENA_ARTYKULU buffers (the last one cleared
//! when the article has no price of that type).
extern "C" void WYBIERZCENEARTYKULU_SLOWNIK(double categoryId);
