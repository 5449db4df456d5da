// The .xlsx reader through the public interface (openWorkbook, readSheet):
// any input must give sheets or a refusal with a message, never a crash.
// An input beginning "PK" is taken as the workbook file itself. Any other is
// a list of parts, "==>NAME\nCONTENT" one after another, stored uncompressed
// into a fresh package: so the mutations reach the XML of the parts instead
// of breaking the compressed data.
#include "FuzzSupport.h"

#include <zip.h>

#include <string_view>
#include <vector>

namespace {

QString packageOf(std::string_view input)
{
    static const QString path = velmora::fuzz::inputFile(nullptr, 0, ".parts.xlsx");
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        std::abort();
    constexpr std::string_view marker = "==>";
    size_t at = input.find(marker);
    while (at != std::string_view::npos) {
        const size_t begin = at + marker.size();
        const size_t next = input.find(marker, begin);
        const std::string_view part = input.substr(begin, next == std::string_view::npos ? next : next - begin);
        const size_t newline = part.find('\n');
        const std::string name(part.substr(0, newline));
        const std::string_view content = newline == std::string_view::npos ? std::string_view() : part.substr(newline + 1);
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = source ? zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source); // a name libzip refuses (empty, twice): left out
        } else {
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
        at = next;
    }
    if (zip_close(archive) != 0)
        zip_discard(archive);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Compound files go to the .xls reader: fuzz_xls covers them.
    if (size >= 2 && data[0] == 0xD0 && data[1] == 0xCF)
        return 0;
    if (size >= 2 && data[0] == 'P' && data[1] == 'K') {
        velmora::fuzz::readWholeWorkbook(velmora::fuzz::inputFile(data, size, ".xlsx"));
        return 0;
    }
    velmora::fuzz::readWholeWorkbook(packageOf(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
