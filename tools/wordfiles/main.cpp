// quorvane-wordfiles: builds one language's word database and word-group file from the Debian
// word sources. Run by the build; see tools/CMakeLists.txt.
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/group_file.h"
#include "tools/wordfiles/sources.h"
#include "tools/wordfiles/word_database.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvane-wordfiles DE <output folder> <word list> <OpenThesaurus text file>\n"
    "       quorvane-wordfiles EN <output folder> <word list> <WordNet data file>...\n";

struct Sources {
    std::vector<std::string> words;
    std::vector<wordfiles::Group> groups;
    size_t malformedLines = 0;
};

std::ifstream OpenSource(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("can't read " + path);
    }
    return in;
}

Sources ReadSources(const std::string& language, const std::vector<std::string>& files) {
    Sources sources;
    std::ifstream wordList = OpenSource(files.front());
    sources.words = wordfiles::ReadWordList(wordList);
    if (language == "DE") {
        std::ifstream thesaurus = OpenSource(files.at(1));
        sources.groups = wordfiles::ReadThesaurus(thesaurus);
        return sources;
    }
    wordfiles::WordNetGroups wordNet;
    for (size_t i = 1; i < files.size(); ++i) {
        std::ifstream data = OpenSource(files[i]);
        wordfiles::ReadWordNet(data, wordNet);
    }
    sources.groups = std::move(wordNet.groups);
    sources.malformedLines = wordNet.malformedLines;
    return sources;
}

void Build(const std::string& language, const std::filesystem::path& folder,
           const std::vector<std::string>& files) {
    const auto start = std::chrono::steady_clock::now();
    Sources sources = ReadSources(language, files);
    const wordfiles::WordFileContent content =
        wordfiles::Assemble(std::move(sources.words), sources.groups);
    std::filesystem::create_directories(folder);
    wordfiles::WriteWordDatabase(folder / ("DIC_DB_" + language + ".tdb"), content.words);
    wordfiles::WriteGroupFile(folder / ("DIC_WL_" + language + ".tdb"), content);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::cout << language << ": " << content.words.size() << " words, " << content.groups.size()
              << " groups (" << content.droppedGroups << " without any word dropped, "
              << content.splitGroups << " split, " << content.cappedWords << " words capped, "
              << sources.malformedLines << " malformed lines) in " << seconds.count() << " s\n";
}

bool ValidArguments(const std::vector<std::string>& args) {
    if (args.size() < 4) {
        return false;
    }
    return (args[0] == "DE" && args.size() == 4) || args[0] == "EN";
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!ValidArguments(args)) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        Build(args[0], args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    } catch (const std::exception& e) {
        std::cerr << "quorvane-wordfiles: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
