#include "os/FileBytes.h"

#include "os/Failure.h"
#include "texts/FailureTexts.h"

#include <algorithm>
#include <string>

namespace drilbank {
namespace {

constexpr std::uint64_t pieceSize = std::uint64_t{1} << 20;

} // namespace

bool forEachPiece(DurableFile& file, std::uint64_t at, std::uint64_t length,
                  const std::function<bool(std::string_view piece, std::uint64_t done)>& visit) {
    std::string piece;
    for (std::uint64_t done = 0; done < length;) {
        piece.resize(static_cast<std::size_t>(std::min(pieceSize, length - done)));
        piece.resize(file.readAt(at + done, piece.data(), piece.size()));
        if (piece.empty() || !visit(std::string_view(piece), done)) {
            return false;
        }
        done += piece.size();
    }
    return true;
}

std::uint64_t bytesInCommon(DurableFile& left, std::uint64_t leftAt, DurableFile& right,
                            std::uint64_t rightAt, std::uint64_t length) {
    std::uint64_t common = 0;
    std::string other;
    forEachPiece(left, leftAt, length, [&](std::string_view piece, std::uint64_t done) {
        other.resize(piece.size());
        other.resize(right.readAt(rightAt + done, other.data(), other.size()));
        const auto same = static_cast<std::uint64_t>(
            std::mismatch(piece.begin(), piece.begin() + static_cast<long>(other.size()),
                          other.begin())
                .first -
            piece.begin());
        common += same;
        return same == piece.size();
    });
    return common;
}

bool holdsAt(DurableFile& file, std::uint64_t at, std::string_view bytes) {
    return forEachPiece(file, at, bytes.size(), [&](std::string_view piece, std::uint64_t done) {
        return bytes.substr(static_cast<std::size_t>(done), piece.size()) == piece;
    });
}

bool endsInPartOf(DurableFile& file, std::uint64_t at, std::string_view bytes) {
    const std::uint64_t size = file.size();
    return size >= at && size - at <= bytes.size() &&
           forEachPiece(file, at, size - at, [&](std::string_view piece, std::uint64_t done) {
               return bytes.substr(static_cast<std::size_t>(done), piece.size()) == piece;
           });
}

bool onlyZerosFrom(DurableFile& file, std::uint64_t at) {
    const std::uint64_t size = file.size();
    return size >= at &&
           forEachPiece(file, at, size - at, [](std::string_view piece, std::uint64_t) {
               return piece.find_first_not_of('\0') == std::string_view::npos;
           });
}

bool holdsZero(DurableFile& file, std::uint64_t at, std::uint64_t length) {
    return !forEachPiece(file, at, length, [](std::string_view piece, std::uint64_t) {
        return piece.find('\0') == std::string_view::npos;
    });
}

void copyBytes(DurableFile& from, std::uint64_t at, std::uint64_t length, DurableFile& to) {
    if (!forEachPiece(from, at, length, [&to](std::string_view piece, std::uint64_t) {
            to.append(piece);
            return true;
        })) {
        throw Failure(failure::DeviceIoError, journalUnreadableText);
    }
    to.flush();
}

} // namespace drilbank
