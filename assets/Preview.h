// PNG contact sheets of everything the generator makes.
#pragma once

#include "Model.h"

#include <string>

namespace gen {
void WritePreview(const DataSet& data, const std::string& directory);
}  // namespace gen
