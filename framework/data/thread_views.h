#pragma once
#include <functional>
#include <string_view>

#include "framework/data/view_manager.h"

namespace slownik::data {

//! Binding states of a browse procedure's view in a thread.
enum ViewBinding : int { kViewUnbound = 0, kViewBinding = -1, kViewBound = 1 };

//! The calling thread's view of a browse procedure over `main`, opened and marked in
//! use. The first call in a thread creates the view and runs `bind` once (the guard
//! goes 0 → -1 → 1), so the joins and computed columns are set up once per thread.
//! A window of the same procedure nested in the same thread gets a view of its own.
//! Never null.
ViewManager& openThreadView(std::string_view procedure, const sql::TableDef& main,
                            const std::function<void(ViewManager&)>& bind = {});
//! Closes the innermost open view of the procedure in the calling thread.
void closeThreadView(std::string_view procedure);
//! Whether the procedure's view is open in the calling thread.
bool isThreadViewInUse(std::string_view procedure);
//! The binding guard of the procedure's view in the calling thread.
int threadViewBinding(std::string_view procedure);
//! Closes every view open in the calling thread (thread end); other threads' views
//! are never touched. Returns how many were closed.
int closeThreadViews();

}  // namespace slownik::data
