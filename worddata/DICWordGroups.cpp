// Reads the word-group file into DIC::gGroupDict and DIC::gWordGroupsDict. The file is untrusted
// input: every count read from it is only believed as far as the bytes left in the file can hold,
// and every malformed file ends in the fatal report, never in a crash or a huge allocation.
#include <algorithm>
#include <exception>
#include <memory>
#include <string>

#include "framework/binarystream.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "worddata/DIC.h"
#include "worddata/PMDebug.h"

namespace DIC {
namespace {

constexpr int64_t kGroupHeaderBytes = 4 + 2;  // key, member count
constexpr int64_t kWordHeaderBytes = 2;       // group count

// How many records of at least `recordBytes` bytes the rest of the stream can hold, at most
// `claimed`.
size_t PlausibleCount(const fw::BinaryStream& stream, int64_t claimed, int64_t recordBytes) {
    const int64_t remaining = std::max<int64_t>(0, stream.Length() - stream.Position());
    return static_cast<size_t>(std::clamp<int64_t>(claimed, 0, remaining / recordBytes));
}

// Reads the group records; the largest member ID named, for the word count check.
int64_t ReadGroups(fw::BinaryStream& stream, GroupDict& groups) {
    int64_t largestID = 0;
    const int32_t groupCount = stream.ReadInt32();
    groups.Reserve(PlausibleCount(stream, groupCount, kGroupHeaderBytes), 0);
    for (int32_t group = 0; group < groupCount; ++group) {
        const int32_t key = stream.ReadInt32();
        const int16_t memberCount = stream.ReadInt16();
        for (int32_t member = 0; member < memberCount; ++member) {
            const int32_t wordID = stream.ReadInt32();
            groups.AddMember(wordID);
            largestID = std::max<int64_t>(largestID, wordID);
            fw::Yield();
        }
        groups.CommitGroup(key);
        fw::Yield();
    }
    groups.FinishGroups();
    return largestID;
}

// Reads the word records after the word count; false after a reported wrong group reference.
bool ReadWordRecords(fw::BinaryStream& stream, int32_t wordCount, const GroupDict& groups,
                     WordGroupsList& words) {
    words.Reserve(PlausibleCount(stream, wordCount, kWordHeaderBytes), 0);
    for (int32_t word = 0; word < wordCount; ++word) {
        const int16_t groupCount = stream.ReadInt16();
        for (int32_t entry = 0; entry < groupCount; ++entry) {
            const int32_t key = stream.ReadInt32();
            if (!groups.HasKey(key)) {
                PMDebug::Error("Selected word list file is corrupted! Wrong group reference.");
                return false;
            }
            words.AddKey(key);
            fw::Yield();
        }
        words.CommitEntry();
        fw::Yield();
    }
    return true;
}

bool ReadWordGroupFile(fw::BinaryStream& stream) {
    stream.LittleEndian = false;
    gGroupDict = std::make_unique<GroupDict>();
    const int64_t largestID = ReadGroups(stream, *gGroupDict);
    if (stream.ReadInt64() != 0) {
        PMDebug::Error("Selected word list file is corrupted! Bad group definitions.");
        return false;
    }
    const int32_t wordCount = stream.ReadInt32();
    // In 64 bits, so that a word count of -2^31 can't wrap round into a huge last ID.
    const int64_t lastWordID = static_cast<int64_t>(wordCount) - 1;
    if (lastWordID < largestID) {
        PMDebug::Error("Selected word list file is corrupted! Not enough words. (" +
                       fw::Str(largestID) + " vs. " + fw::Str(lastWordID) + ")");
        return false;
    }
    return ReadWordRecords(stream, wordCount, *gGroupDict, gWordGroupsDict);
}

}  // namespace

bool LoadWL(const std::string& language) {
    const fw::FolderItem file = LocateWordFile("DIC_WL_" + language + ".tdb");
    if (!file.Exists()) {
        PMDebug::Error("Can't locate the selected word list file.");
        return false;
    }
    const std::unique_ptr<fw::BinaryStream> stream = fw::BinaryStream::Open(file.NativePath());
    if (!stream) {
        PMDebug::Error("Can't open the selected word list file.");
        return false;
    }
    try {
        return ReadWordGroupFile(*stream);
    } catch (const std::exception&) {
        // A read past the end, a table too large, or memory running out: the file is unusable.
        PMDebug::Error("Selected word list file is corrupted!");
        return false;
    }
}

}  // namespace DIC
