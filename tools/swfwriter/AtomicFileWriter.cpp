#include "AtomicFileWriter.h"

#include "library/FileSystem.h"

bool AtomicFileWriter::write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                             std::string& error) {
    const FileResult result = FileSystem::writeWhole(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        FileSystem::Replace::Existing);
    if (result != FileResult::Done)
        error = path + ": " + nameOf(result);
    return result == FileResult::Done;
}
