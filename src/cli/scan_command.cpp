// quorvel-cli scan: one page scanned as the analysis run scans it, with every
// fact of the scan printed as one JSON object.

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "analysis/page_scan.h"
#include "analysis/page_scan_fields.h"
#include "cli/cli.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/latin1_text.h"
#include "cli/terminal_text.h"

namespace quorvel {

namespace {

struct ScanCommandOptions {
    std::string file;
    std::string keyword;
    int caseSensitive = 1;
    bool finalS = false;
    int minWordLength = 0;
    std::string stopWords = "a,an,and,the,for,if";
};

// Every fact under its field name, in declaration order: numbers as JSON
// numbers, texts with each byte as the character of the same code point.
nlohmann::ordered_json factsToJson(const PageFacts& facts) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (const PageField& field : pageFields()) {
        const std::string name(field.name);
        if (const auto number = numericFieldValue(facts, field)) {
            json[name] = *number;
        } else {
            json[name] = latin1ToUtf8(textFieldValue(facts, field));
        }
    }
    return json;
}

int runScan(const ScanCommandOptions& options, CommandContext& context) {
    // The order of the analysis run: matcher set-up, load, inputs, scan.
    if (!checkKeywordLength(options.keyword, "quorvel-cli scan: ", context.err)) return kExitUsage;
    auto scan = std::make_unique<PageScan>();
    scan->keywordMatcher().setFinalSRule(options.finalS);
    scan->keywordMatcher().loadPhrase(options.keyword, options.caseSensitive != 0);
    if (!scan->load(options.file)) {
        context.err << "quorvel-cli: cannot open " << escapeControls(options.file) << ": ";
        if (scan->loadError() == EFBIG) {
            context.err << "larger than " << PageScan::kMaxPageBytes
                        << " bytes, the most a page may hold";
        } else {
            context.err << std::strerror(scan->loadError());
        }
        context.err << '\n';
        return kExitUsage;
    }
    scan->stopWordList = options.stopWords;
    scan->setMinWordLength(static_cast<std::uint16_t>(options.minWordLength));
    scan->scan();
    context.out << factsToJson(*scan).dump(2) << '\n';
    return kExitOk;
}

}  // namespace

void addScanCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<ScanCommandOptions>();
    CLI::App* command = app.add_subcommand(
        "scan", "Scan one HTML file as the analysis run does and print every fact as JSON");
    command->add_option("FILE", options->file, "The HTML file")->required();
    command->add_option("--keyword", options->keyword, "Keyword or phrase (default: none)");
    command
        ->add_option("--case-sensitive", options->caseSensitive,
                     "1: the keyword matches in its case only (default), 0: in any case")
        ->check(CLI::IsMember({0, 1}));
    command->add_flag("--final-s", options->finalS,
                      "Drop a final s from the keyword's words and accept one after a match");
    command
        ->add_option("--min-word-length", options->minWordLength,
                     "Words shorter than this are not counted (default 0: every word)")
        ->check(CLI::Range(0, 65535));
    command->add_option("--stop-words", options->stopWords,
                        "Stop words counted in the title (default: a,an,and,the,for,if)");
    command->callback([options, &context] { context.status = runScan(*options, context); });
}

}  // namespace quorvel
