#include "os/windows/WindowsPaths.h"

#include "os/Failure.h"
#include "texts/FailureTexts.h"

namespace drilbank {
namespace {

constexpr std::size_t oldPathLimit = 259;
constexpr std::size_t longPathLimit = 32767 - 8; // room for the longest prefix, "\\?\UNC\"

} // namespace

std::wstring systemPath(const std::filesystem::path& path) {
    const std::wstring whole =
        std::filesystem::path(path).make_preferred().lexically_normal().wstring();
    if (whole.size() > longPathLimit) {
        throw Failure(failure::BadFileName, pathTooLongText(whole.size()));
    }
    if (whole.size() <= oldPathLimit || whole.starts_with(L"\\\\?\\")) {
        return whole;
    }
    if (whole.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + whole.substr(2); // a share: \\server\share\...
    }
    return L"\\\\?\\" + whole;
}

} // namespace drilbank
