// Writes the help's check catalogue page from the built-in catalogue:
//   quorvel_help_catalogue OUTPUT.html

#include <fstream>
#include <iostream>
#include <string>

#include "checks/check_catalogue.h"
#include "report/report_entry.h"
#include "report/report_export.h"

namespace {

using namespace quorvel;

std::string cell(std::string_view text) {
    return "<td>" + escapeHtmlText(text) + "</td>";
}

std::string catalogueHtml() {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"windows-1252\">\n"
        "<title>Quorvel help - The checks</title>\n"
        "<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n"
        "<p class=\"nav\"><a href=\"index.html\">Contents</a></p>\n"
        "<h1>The checks</h1>\n"
        "<p>Every check of the built-in catalogue, in the order a run evaluates them, with "
        "its defaults. A search engine of the checker file may change any field; the "
        "Checker Elements page shows the values of the current engine. In messages, %1 "
        "stands for the check's value and %2 for what was measured on the page.</p>\n<ul>\n";
    for (int category = 0; category < kCategoryCount; ++category) {
        const std::string name(categoryName(category));
        html += "<li><a href=\"#" + name + "\">" + name + "</a> (" +
                std::to_string(checkCount(category)) + " checks)</li>\n";
    }
    html += "</ul>\n";
    for (int category = 0; category < kCategoryCount; ++category) {
        const std::string name(categoryName(category));
        html += "<h2 id=\"" + name + "\">" + name +
                "</h2>\n<table>\n<tr><th>Key</th><th>Check</th>"
                "<th>Importance</th><th>On</th><th>Value (%1)</th><th>Message</th>"
                "<th>Description</th></tr>\n";
        for (int index = 0; index < checkCount(category); ++index) {
            const CheckDefinition& check = checkDefinition(category, index);
            const char letter = check.cat.empty() ? 'W' : check.cat.front();
            html += "<tr id=\"" + std::to_string(index) + name + "\">" +
                    cell(std::to_string(index) + name) + cell(check.name) +
                    cell(importanceWord(importanceClassOf(letter))) +
                    cell(check.enable == "0" ? "no" : "yes") + cell(check.value) + cell(check.msg) +
                    cell(check.descr) + "</tr>\n";
        }
        html += "</table>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quorvel_help_catalogue OUTPUT.html\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << catalogueHtml();
    out.close();
    if (!out) {
        std::cerr << "quorvel_help_catalogue: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
