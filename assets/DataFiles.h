// The three data files as bytes. Each file is assembled in memory first so
// that its signature (the first 32-bit value) can be a hash of everything that
// follows it: any change of content gives a new signature.
#pragma once

#include "Model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gen {

using Bytes = std::vector<uint8_t>;

// 32-bit FNV-1a over the bytes after the signature.
uint32_t ContentSignature(const Bytes& file);

// The run-length pixel data of one 32 x 32 image (data size word included);
// transparent pixels become skipped runs.
Bytes EncodePixels(const art::Canvas& image, int x0, int y0);

Bytes BuildDatFile(const DataSet& data);
Bytes BuildSprFile(const DataSet& data);
Bytes BuildPicFile(const DataSet& data);

// Writes through the program's binary file writer.
void WriteDataFile(const std::string& path, const Bytes& bytes);

}  // namespace gen
