#pragma once
#include <string>
#include <string_view>

namespace slownik::svc {

//! A program parameter as text ("" if none). Scope "s" (either case): the current
//! company's parameter; "u": the current user's. Any other scope has no parameters.
std::string POBIERZPARAMKONF(std::string_view scope, std::string_view name);

//! Stores (replaces) a program parameter. 0 on success, else the runtime error code;
//! an unknown scope is refused with its own message and nothing is stored.
int USTAWPARAMKONF(std::string_view scope, std::string_view name, std::string_view value);

}  // namespace slownik::svc
