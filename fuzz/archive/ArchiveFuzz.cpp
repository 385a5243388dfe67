// libFuzzer target: any bytes as an archive file, opened, searched and every member extracted
// with the system's password. The reader must neither crash nor touch memory outside its
// buffers, whatever the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size)) return 0;
    CArchiveReader reader;
    try {
        reader.Open(InputPath());
    } catch (const CZipException& e) {
        // A damaged archive is an expected outcome; only its cause must be one of ours.
        if (e.Cause() < 1 || e.Cause() > 18) __builtin_trap();
        return 0;
    }
    reader.SetPassword(kArchivePassword);
    // Small chunks take other paths through the read loop than the usual 65535.
    const std::size_t chunk = size > 0 && (data[size - 1] & 1) ? 1 + data[size - 1] : 65535;
    for (int i = 0; i < reader.GetCount(); ++i) {
        const std::string name = reader.GetEntry(i).name;
        if (reader.FindFile(name) < 0) __builtin_trap();
        CMemoryBlock block;
        const CExtractResult result = reader.TryExtractByName(name, block, chunk);
        if (result && block.size() != reader.GetEntry(i).uncomprSize) __builtin_trap();
        if (reader.IsFileOpen()) __builtin_trap();
    }
    return 0;
}
