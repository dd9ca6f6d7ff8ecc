#pragma once

namespace slownik::documents {

//! The way into an order's status history from the menu: the current company's orders
//! by number; the history of the one chosen opens.
void chooseOrderForStatusHistory();

}  // namespace slownik::documents
