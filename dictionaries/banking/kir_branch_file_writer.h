#pragma once
#include <string>
#include <vector>

#include "dictionaries/banking/kir_branch_file.h"

namespace slownik::banking {

//! The bytes of a branch file in the layout the import reads (dBase III, one character
//! field per layout column), its texts written in `page`. Branches marked deleted are
//! written with the deletion flag. Used to make test files, benchmark data and fuzz seeds.
std::string writeKirBranchFile(const std::vector<KirBranch>& branches, CodePage page);

}  // namespace slownik::banking
