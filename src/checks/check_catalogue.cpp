#include "checks/check_catalogue.h"

#include <array>

namespace quorvel {

namespace {

struct CategoryInfo {
    std::string_view name;
    int checkCount;
    int firstGlobal;  // running number of the category's first check
};

constexpr std::array<CategoryInfo, kCategoryCount> kCategories{{
    {"Title", 10, 0},
    {"Meta", 23, 10},
    {"Body", 12, 33},
    {"Images", 4, 45},
    {"Links", 8, 49},
    {"Misc", 14, 57},
    {"Tips", 15, 71},
}};

constexpr std::array<std::string_view, kFieldCount> kFieldNames{"Name", "Msg",    "Descr",
                                                                "Cat",  "Enable", "Value"};

struct CatalogueRow {
    CheckCategory category;
    int index;  // within the category
    CheckDefinition check;
};

using enum CheckCategory;

// The built-in checks in running-number order. Each row: category, index,
// then the fields Name, Msg, Descr, Cat, Enable, Value. "%1" in Msg and Descr
// takes the check's Value, "%2" the measured value, "%%" a percent sign; a
// text holding neither %1 nor %2 is shown as written.
// clang-format off
constexpr std::array<CatalogueRow, kCheckCount> kCatalogue{{
    {Title, 0,  // 0
     {.name = "Tag presence",
      .msg = "A title tag is not present on your page.",
      .descr = "A title tag is not present on your page. The title tag is the most important tag "
               "on a page. Please add a title tag for the best results.",
      .cat = "W", .enable = "1", .value = ""}},
    {Title, 1,  // 1
     {.name = "Length of tag",
      .msg = "Limit your title tag to %1 characters, including spaces, instead of %2.",
      .descr = "Limit your title tag to %1 characters, including spaces. If your title tag is "
               "too long, the engine will cut it off in mid-sentence.",
      .cat = "S", .enable = "1", .value = "70"}},
    {Title, 2,  // 2
     {.name = "Keyword at beginning of tag",
      .msg = "Place your keywords within the first %1%% of the words in the title tag instead "
             "of %2%%.",
      .descr = "Your important keyword needs to be placed in the front of the title tag, "
               "preferably in the first few words.",
      .cat = "W", .enable = "1", .value = "30"}},
    {Title, 3,  // 3
     {.name = "Too many Title tags",
      .msg = "Don't use multiple title tags with this engine. You're using %2 Title tags.",
      .descr = "Your page holds more than one title tag. This engine expects a single title per "
               "page and may treat additional title tags as an attempt to stuff keywords into "
               "the most important place of the page. Remove the additional title tags and keep "
               "one title that describes the page.",
      .cat = "W", .enable = "1", .value = "1"}},
    {Title, 4,  // 4
     {.name = "First tag in head",
      .msg = "Your title tag must be the first tag on your page.",
      .descr = "Your title tag is not the first tag on your page. Some engines read only the "
               "beginning of a page before they decide what it is about, and they expect to find "
               "the title there. Move the title tag so that it is the first tag in the head "
               "section, before any META, script or style tag.",
      .cat = "W", .enable = "1", .value = ""}},
    {Title, 5,  // 5
     {.name = "Repetition of keywords",
      .msg = "Don't repeat keywords in your title tag more than %1 time(s).",
      .descr = "Your keywords appear in your title tag more than %1 time(s). Repeating a keyword "
               "in the title does not raise your ranking and can be seen as keyword stuffing. "
               "Use each keyword no more than %1 time(s) and let the rest of the title describe "
               "the page in natural words.",
      .cat = "W", .enable = "1", .value = "1"}},
    {Title, 6,  // 6
     {.name = "CR/LF presence",
      .msg = "One or more carriage returns or line feeds have been detected in your title.",
      .descr = "One or more carriage returns or line feeds have been detected in your title. "
               "Some engines stop reading the title at the line break or show it broken in their "
               "results. Write the whole title, from the opening to the closing title tag, on a "
               "single line.",
      .cat = "E", .enable = "1", .value = ""}},
    {Title, 7,  // 7
     {.name = "Keyword doesn't appear",
      .msg = "Your important keyword phrase needs to appear in your title tag. (Case "
             "Sensitive)",
      .descr = "Your important keyword phrase does not appear in your title tag. The title is "
               "the strongest sign of what a page is about, and engines compare it with the "
               "words people search for. Add your keyword phrase to the title, preferably near "
               "its beginning, and mind the letter case: for this engine the keyword may have to "
               "match exactly.",
      .cat = "W", .enable = "1", .value = ""}},
    {Title, 8,  // 8
     {.name = "Too few Title tags",
      .msg = "Try using %1 title tags with this engine.",
      .descr = "Your page has %2 title tag(s), but this engine favours pages with %1 title tags. "
               "Try using %1 title tags with this engine, each of them holding your keyword "
               "phrase, and keep them at the top of the page.",
      .cat = "S", .enable = "1", .value = "2"}},
    {Title, 9,  // 9
     {.name = "Contains stop words",
      .msg = "You're using a \"stop\" word in your title tag.",
      .descr = "Your title tag contains a \"stop\" word such as \"a\", \"the\" or \"for\". Engines skip "
               "these common words, so they only take room that your keywords could use. Remove "
               "the stop words from your title, or rephrase it so that every word carries "
               "meaning.",
      .cat = "S", .enable = "1", .value = "a,an,and,the,for,if"}},
    {Meta, 0,  // 10
     {.name = "Redirect speed",
      .msg = "Set your META refresh at %1 or higher. Your current refresh speed is %2.",
      .descr = "Your page sends the visitor on with a META refresh after less than %1 seconds. "
               "Engines treat a fast redirect as a trick to show them one page and the visitor "
               "another, and may drop the page from their index. Set the refresh time to %1 "
               "seconds or more, or redirect on the server instead.",
      .cat = "W", .enable = "1", .value = "30"}},
    {Meta, 1,  // 11
     {.name = "\"Description\" tag presence",
      .msg = "Make sure you use a META description tag with this engine.",
      .descr = "Your page has no META description tag. This engine shows the description in its "
               "results and uses it to judge what the page is about. Add a META description tag "
               "to the head section, with one or two sentences that describe the page and hold "
               "your keyword phrase.",
      .cat = "S", .enable = "1", .value = ""}},
    {Meta, 2,  // 12
     {.name = "\"Description\" MAX tag length",
      .msg = "Limit your META description tag to %1 characters instead of %2.",
      .descr = "Your META description tag is longer than %1 characters. The engine cuts a longer "
               "description off in its results, and the words after the limit may be ignored. "
               "Shorten the description to %1 characters or fewer and put the most important "
               "words first.",
      .cat = "S", .enable = "1", .value = "150"}},
    {Meta, 3,  // 13
     {.name = "\"Keywords\" tag presence",
      .msg = "Consider using a META keyword tag with this engine.",
      .descr = "Your page has no META keywords tag. This engine still reads the keywords tag as "
               "a hint of what the page is about. Consider adding a META keywords tag to the "
               "head section with your keyword phrase and a few related terms, separated by "
               "commas.",
      .cat = "S", .enable = "1", .value = ""}},
    {Meta, 4,  // 14
     {.name = "\"Keywords\" MAX tag length",
      .msg = "The standard length for a META keyword tag is %1 characters. Your tag has %2 "
             "characters.",
      .descr = "Your META keywords tag is longer than %1 characters. An engine reads only the "
               "first part of a long keyword list, and an overlong list can look like spam. "
               "Shorten the tag to %1 characters or fewer and keep only the keywords that really "
               "belong to this page.",
      .cat = "S", .enable = "1", .value = "1000"}},
    {Meta, 5,  // 15
     {.name = "Keyword appears early in \"Description\" tag",
      .msg = "Make sure your keyword appears within the first %1%% of the description tag.",
      .descr = "Your keyword phrase appears late in your META description tag. Engines give more "
               "weight to the words at the beginning of the description, and searchers read only "
               "its first words. Rewrite the description so that your keyword phrase stands "
               "among its first words.",
      .cat = "W", .enable = "1", .value = "25"}},
    {Meta, 6,  // 16
     {.name = "Keyword appears early in \"Keywords\" tag",
      .msg = "Make sure your keyword appears within the first %1%% of the keyword tag.",
      .descr = "Your keyword phrase appears late in your META keywords tag. Engines give more "
               "weight to the first entries of the keyword list and may ignore the rest of a "
               "long list. Move your keyword phrase to the beginning of the tag.",
      .cat = "S", .enable = "1", .value = "25"}},
    {Meta, 7,  // 17
     {.name = "Presence of NoIndex / NoArchive tag",
      .msg = "The engine will not index this page because of the \"noindex\" or \"noarchive\" tag.",
      .descr = "Your page carries a robots META tag with the value \"noindex\", which tells the "
               "engine not to add the page to its index, so the page will not be found at all. "
               "Remove \"noindex\" from the robots META tag unless you really want to keep this "
               "page out of the engine.",
      .cat = "E", .enable = "1", .value = ""}},
    {Meta, 8,  // 18
     {.name = "Irrelevant META tags",
      .msg = "Don't use irrelevant META tags.",
      .descr = "Your page holds META tags that this engine does not use. They add bytes to the "
               "head of the page without helping your ranking, and they push the important tags "
               "further down. Remove the META tags that the engine ignores and keep the "
               "description and keywords tags.",
      .cat = "S", .enable = "1", .value = ""}},
    {Meta, 9,  // 19
     {.name = "CR/LF presence in \"Description\" tag",
      .msg = "A carriage return or line feed has been detected in your META description.",
      .descr = "A carriage return or line feed has been detected in your META description. Some "
               "engines end the description at the line break or show it broken in their "
               "results. Write the whole content of the description tag on a single line.",
      .cat = "E", .enable = "1", .value = ""}},
    {Meta, 10,  // 20
     {.name = "CR/LF presence in \"Keywords\" tag",
      .msg = "A carriage return or line feed has been detected in your META keyword tag.",
      .descr = "A carriage return or line feed has been detected in your META keyword tag. Some "
               "engines end the keyword list at the line break and ignore the keywords after it. "
               "Write the whole content of the keywords tag on a single line.",
      .cat = "E", .enable = "1", .value = ""}},
    {Meta, 11,  // 21
     {.name = "Number of keywords in \"Keywords\" tag",
      .msg = "Don't use your keywords more than %1 times in the keyword META tag. %2 times "
             "found.",
      .descr = "Your keywords appear more than %1 times in the keyword META tag. Repeating the "
               "same keyword in the list is seen as keyword stuffing and can lower your ranking. "
               "Use each keyword no more than %1 times and add related words instead of "
               "repetitions.",
      .cat = "S", .enable = "1", .value = "3"}},
    {Meta, 12,  // 22
     {.name = "Number of keywords in \"Description\" tag",
      .msg = "Don't use your keywords more than %1 times in the description META tag. %2 times "
             "found.",
      .descr = "Your keywords appear too often in the description META tag. A description that "
               "repeats the same keyword reads badly in the results and can be seen as keyword "
               "stuffing. Use your keyword phrase sparingly and write the rest of the "
               "description for the reader.",
      .cat = "W", .enable = "1", .value = "1"}},
    {Meta, 13,  // 23
     {.name = "Absence of keywords in \"Keywords\" tag",
      .msg = "Add keywords to your \"keywords\" tag.",
      .descr = "Your META keywords tag does not contain your keyword phrase. The tag tells the "
               "engine for which searches the page should be found. Add your keyword phrase to "
               "the \"keywords\" tag, preferably as its first entry.",
      .cat = "S", .enable = "1", .value = ""}},
    {Meta, 14,  // 24
     {.name = "Absence of keywords in \"Description\" tag",
      .msg = "Add keywords to your \"description\" tag.",
      .descr = "Your META description tag does not contain your keyword phrase. Engines and "
               "searchers both read the description to decide whether the page matches a search. "
               "Add your keyword phrase to the \"description\" tag, preferably near its beginning.",
      .cat = "S", .enable = "1", .value = ""}},
    {Meta, 15,  // 25
     {.name = "Redirect presence",
      .msg = "Don't use a META refresh tag with this engine.",
      .descr = "Your page uses a META refresh tag to send the visitor to another address. This "
               "engine may treat such a redirect as a doorway page and leave the page out of its "
               "index. Remove the META refresh tag and link to the other page instead, or "
               "redirect on the server.",
      .cat = "W", .enable = "0", .value = ""}},
    {Meta, 16,  // 26
     {.name = "Presence of keywords in META \"Keywords\" tag",
      .msg = "Don't use your important keywords in the META keyword tag with this engine.",
      .descr = "Your important keywords appear in the META keyword tag. This engine treats that "
               "tag with suspicion, because it is often abused for keyword stuffing. Remove your "
               "important keywords from the META keyword tag and use them in the visible text of "
               "the page instead.",
      .cat = "W", .enable = "0", .value = ""}},
    {Meta, 17,  // 27
     {.name = "Presence of keywords in META \"Description\" tag",
      .msg = "Don't use your important keywords in the META description tag with this engine.",
      .descr = "Your important keywords appear in the META description tag. This engine treats "
               "that tag with suspicion, because it is often abused for keyword stuffing. Remove "
               "your important keywords from the META description tag and use them in the "
               "visible text of the page instead.",
      .cat = "W", .enable = "0", .value = ""}},
    {Meta, 18,  // 28
     {.name = "\"Description\" tag absence",
      .msg = "You don't have to use a META description tag with this engine.",
      .descr = "Your page has a META description tag, which this engine does not need: it "
               "ignores the tag and builds its own description from the text of the page. You "
               "may remove the tag; make sure instead that the first text of the page describes "
               "it well.",
      .cat = "S", .enable = "0", .value = ""}},
    {Meta, 19,  // 29
     {.name = "\"Keywords\" tag absence",
      .msg = "You don't have to use a META keyword tag with this engine.",
      .descr = "Your page has a META keyword tag, which this engine does not need: it ignores "
               "the tag when it ranks pages. You may remove the tag to keep the head of the page "
               "short, and use your keywords in the visible text instead.",
      .cat = "S", .enable = "0", .value = ""}},
    {Meta, 20,  // 30
     {.name = "META NoArchive presence",
      .msg = "Use caution when using the META NoArchive tag.",
      .descr = "Your page carries a robots META tag with the value \"noarchive\". The engine will "
               "then keep no cached copy of the page, and some engines regard pages that hide "
               "their cached copy with suspicion. Use the NoArchive tag only when a cached copy "
               "of the page would really mislead your visitors.",
      .cat = "W", .enable = "1", .value = ""}},
    {Meta, 21,  // 31
     {.name = "META NoArchive absence",
      .msg = "Consider using a NoArchive tag on your page.",
      .descr = "Your page has no robots META tag with the value \"noarchive\", so the engine may "
               "show an old cached copy of it. If your page changes often, or its content should "
               "be seen only on your own site, add a robots META tag with the value \"noarchive\" "
               "to the head section.",
      .cat = "W", .enable = "0", .value = ""}},
    {Meta, 22,  // 32
     {.name = "\"Description\" MIN tag length",
      .msg = "Make sure your META description tag is at least %1 characters instead of %2.",
      .descr = "Your META description tag is shorter than %1 characters. A very short "
               "description tells the engine and the searcher little about the page. Lengthen "
               "the description to at least %1 characters with a sentence that describes the "
               "page and holds your keyword phrase.",
      .cat = "W", .enable = "1", .value = "70"}},
    {Body, 0,  // 33
     {.name = "Presence of keywords within first part of text",
      .msg = "Start the body text with your keyword phrase.",
      .descr = "Your keyword phrase does not appear near the beginning of your body text. "
               "Engines give more weight to the words at the top of a page than to those further "
               "down. Start the body text with your keyword phrase, for example in the first "
               "heading or the first sentence.",
      .cat = "W", .enable = "1", .value = "25"}},
    {Body, 1,  // 34
     {.name = "Presence of tiny text",
      .msg = "Using \"tiny text\" on a page can be considered spamming. Used size is %2.",
      .descr = "Your page uses text in a font size smaller than %1. Tiny text is hard to read "
               "and is a well-known way of hiding keywords from visitors, so engines can "
               "consider it spamming. Use a font size of at least %1 for all the text on your "
               "page.",
      .cat = "W", .enable = "1", .value = "3"}},
    {Body, 2,  // 35
     {.name = "Text with foreground color near background color",
      .msg = "Hiding text is considered spamming.",
      .descr = "Some text on your page differs in color from its background by less than %1%% of "
               "the full color range. Text that the visitor can hardly see is treated as hidden "
               "text, and hiding text is considered spamming. Choose text and background colors "
               "with a clear contrast.",
      .cat = "W", .enable = "1", .value = "10"}},
    {Body, 3,  // 36
     {.name = "Absence of keyword in tables",
      .msg = "If possible, try to use your keywords in the left cell of the table itself.",
      .descr = "Your keyword phrase does not appear in the tables of your page. Engines read the "
               "cells of a table in order, and the first cell is often the first text they find. "
               "If possible, try to use your keywords in the left cell of the table itself.",
      .cat = "S", .enable = "1", .value = ""}},
    {Body, 4,  // 37
     {.name = "Absence of keyword in body text",
      .msg = "You need to use your keyword phrase in the body text of your page.",
      .descr = "Your keyword phrase does not appear in the visible body text of your page. An "
               "engine ranks a page by the words its visitors can read, so a page without the "
               "keyword in its text will hardly be found for it. Write your keyword phrase into "
               "the body text, especially into the first paragraphs.",
      .cat = "S", .enable = "1", .value = ""}},
    {Body, 5,  // 38
     {.name = "Absence of keyword in header tags \"H1\" \"H2\" etc.",
      .msg = "Use your keywords in heading tags.",
      .descr = "Your heading tags (\"H1\", \"H2\" etc.) do not contain your keywords. Engines give "
               "the words of headings more weight than ordinary text. Use your keyword phrase in "
               "at least one heading, preferably in the first one on the page.",
      .cat = "S", .enable = "1", .value = ""}},
    {Body, 6,  // 39
     {.name = "Absence of header tags \"H1\" \"H2\" etc.",
      .msg = "Use one or more header tags.",
      .descr = "Your page does not use any heading tags (\"H1\", \"H2\" etc.). Headings give the "
               "page a structure for the visitor and tell the engine which words matter most. "
               "Use one or more header tags, for example an \"H1\" at the top of the page that "
               "holds your keyword phrase.",
      .cat = "S", .enable = "1", .value = ""}},
    {Body, 7,  // 40
     {.name = "Keyword density too High",
      .msg = "Try for an overall keyword wt. of the visible body text of less than %1%%. "
             "Current density is %2%%",
      .descr = "The keyword density of the visible body text of your page is too high. A text "
               "that repeats the keyword too often reads badly and can be seen as keyword "
               "stuffing. Replace some of the repetitions with other words, or add more text "
               "around them, until the density is below the limit set for this engine.",
      .cat = "S", .enable = "1", .value = "4"}},
    {Body, 8,  // 41
     {.name = "Keyword density too Low",
      .msg = "Try to get an overall keyword density of the body text greater than %1%%. "
             "Current density is %2%%",
      .descr = "The keyword density of the body text of your page is too low: the engine cannot "
               "tell that the page is about your keyword when the keyword is rare in the text. "
               "Use your keyword phrase more often in the body text, in a natural way, until the "
               "density is above the limit set for this engine.",
      .cat = "S", .enable = "1", .value = "3"}},
    {Body, 9,  // 42
     {.name = "Repetition of words within body",
      .msg = "Repetition of words can be considered spamming. You have repeated %2 word(s).",
      .descr = "Your body text repeats words in a way that engines regard as keyword stuffing, "
               "and repetition of words can be considered spamming. Look at the repeated words "
               "listed in the report and rewrite the sentences that hold them, using other words "
               "with the same meaning.",
      .cat = "W", .enable = "1", .value = ""}},
    {Body, 10,  // 43
     {.name = "Number of words in body text more than a maximum",
      .msg = "In most search engines, the body text must be less than %1 words and more than "
             "200. You have %2 word(s).",
      .descr = "Your body text holds more words than this engine favours. A very long page "
               "dilutes your keywords, and the engine may read only its first part. Shorten the "
               "text, or split it over several pages, each with its own keyword phrase.",
      .cat = "W", .enable = "1", .value = "600"}},
    {Body, 11,  // 44
     {.name = "Number of words in body text less than a minimum",
      .msg = "In most search engines, the body text must be more than %1 words and less than "
             "600. You have %2 word(s).",
      .descr = "Your body text holds fewer words than this engine favours. A page with little "
               "text gives the engine too little to judge what it is about. Add more text that "
               "describes your subject and uses your keyword phrase.",
      .cat = "W", .enable = "1", .value = "200"}},
    {Images, 0,  // 45
     {.name = "Missing ALT description",
      .msg = "You are missing %2 ALT tags in IMG, AREA, APPLET or INPUT tags.",
      .descr = "Some IMG, AREA, APPLET or INPUT tags on your page have no ALT attribute. The ALT "
               "text is shown when an image cannot be displayed, is read aloud to visitors who "
               "cannot see it, and is indexed by the engine. Add a short ALT text to every one "
               "of these tags that describes what it shows.",
      .cat = "S", .enable = "1", .value = ""}},
    {Images, 1,  // 46
     {.name = "Missing keywords in ALT text",
      .msg = "Describe the image FIRST, and then use your keyword phrase in the ALT text.",
      .descr = "None of the ALT texts on your page contains your keyword phrase. Engines index "
               "the ALT texts of images, so they are a good place for your keywords. Describe "
               "the image FIRST, and then use your keyword phrase in the ALT text.",
      .cat = "S", .enable = "1", .value = ""}},
    {Images, 2,  // 47
     {.name = "Keyword in image file name",
      .msg = "Name your graphics with your keyword phrase.",
      .descr = "Too few of the image file names on your page contain your keyword phrase. "
               "Engines read the file names of images as well as their ALT texts. Name your "
               "graphics with your keyword phrase, for example by joining its words with hyphens "
               "in the file name.",
      .cat = "S", .enable = "1", .value = "25"}},
    {Images, 3,  // 48
     {.name = "Image map presence",
      .msg = "You're using an image map, so be sure to use HTML links on your page.",
      .descr = "Your page uses an image map for its links. Engines cannot always follow the "
               "links of an image map, so the pages behind it may never be indexed. You are "
               "using an image map, so be sure to add ordinary HTML text links to the same "
               "pages, for example at the bottom of the page.",
      .cat = "S", .enable = "1", .value = ""}},
    {Links, 0,  // 49
     {.name = "Presence of ?",
      .msg = "Some engines can't index URLs containing symbols.",
      .descr = "Some links on your page contain a \"?\" or other symbols, as the addresses of "
               "dynamic pages do. Some engines do not follow or index URLs that contain such "
               "symbols. Where you can, link to static addresses without these symbols, or offer "
               "a site map with plain links.",
      .cat = "W", .enable = "1", .value = ""}},
    {Links, 1,  // 50
     {.name = "Presence of WIDTH and HEIGHT attributes in hidden links",
      .msg = "Red flag: You are specifying \"width\" or \"height\" attributes for single pixel "
             "images in your hidden links.",
      .descr = "Your hidden links use single pixel images with \"width\" or \"height\" attributes. "
               "Engines know this trick and see it as a red flag for spamming. Remove the "
               "\"width\" and \"height\" attributes from these images, or replace the hidden links "
               "with ordinary text links.",
      .cat = "S", .enable = "1", .value = ""}},
    {Links, 2,  // 51
     {.name = "Absence of keywords in the domain name",
      .msg = "Have you considered purchasing a keyword-rich domain name?",
      .descr = "Your keyword phrase does not appear in the domain name of your site. Some "
               "engines rank a site higher for the words in its domain name. Have you considered "
               "purchasing a keyword-rich domain name?",
      .cat = "S", .enable = "1", .value = ""}},
    {Links, 3,  // 52
     {.name = "Keyword density in link text",
      .msg = "Keywords were found in %2%% of the link text areas of your page.",
      .descr = "Your keyword phrase appears in less than %1%% of the link texts of your page. "
               "Engines take the text of a link as a description of the page it leads to. Use "
               "your keyword phrase in more of your link texts, wherever it describes the target "
               "page.",
      .cat = "S", .enable = "1", .value = "10"}},
    {Links, 4,  // 53
     {.name = "Absence of hidden links",
      .msg = "Use hidden links with this Search Engine.",
      .descr = "Your page has no hidden links. This engine finds pages through the links it "
               "follows, and a hidden link leads it to pages that are not linked visibly. Use "
               "hidden links with this Search Engine to point it to the pages that you want "
               "indexed.",
      .cat = "S", .enable = "1", .value = ""}},
    {Links, 5,  // 54
     {.name = "Absence of keywords in page URL's",
      .msg = "Try to use your keyword phrase in other URL's on your page.",
      .descr = "Too few of the URL's linked from your page contain your keyword phrase. Engines "
               "read the addresses of links as well as their text. Try to use your keyword "
               "phrase in the names of the other pages you link to, in their folder and file "
               "names.",
      .cat = "S", .enable = "1", .value = "10"}},
    {Links, 6,  // 55
     {.name = "Absence of keywords in the name of the page",
      .msg = "You need to name this page after your keyword phrase.",
      .descr = "The file name of this page does not contain your keyword phrase. Engines read "
               "the file name as part of the address and give weight to the words in it. You "
               "need to name this page after your keyword phrase, for example by joining its "
               "words with hyphens.",
      .cat = "S", .enable = "1", .value = ""}},
    {Links, 7,  // 56
     {.name = "Absence of title attribute in anchor tag",
      .msg = "You are not using the title attribute in your links. You are missing %2 TITLE "
             "attributes",
      .descr = "Some links on your page have no title attribute. The title of a link is shown to "
               "the visitor as a tip, and some engines read it as a description of the link. Add "
               "a title attribute with a short description and your keyword phrase to each "
               "anchor tag.",
      .cat = "S", .enable = "1", .value = ""}},
    {Misc, 0,  // 57
     {.name = "Frames presence",
      .msg = "You're using frames, so be sure to use a \"noframes\" tag.",
      .descr = "Your page uses frames but has no \"noframes\" tag. Many engines cannot follow the "
               "frames of a page and see only what the \"noframes\" tag holds. Add a \"noframes\" "
               "tag with text and links that describe your site and use your keyword phrase.",
      .cat = "W", .enable = "1", .value = ""}},
    {Misc, 1,  // 58
     {.name = "Scripts presence",
      .msg = "Place your Java or other scripts in a separate file to avoid ranking problems.",
      .descr = "Your page holds Java or other scripts in its own code. Engines read a page from "
               "the top, and long scripts push your text further down or are mistaken for "
               "content. Place your scripts in a separate file and load them with the \"src\" "
               "attribute of the script tag.",
      .cat = "W", .enable = "1", .value = ""}},
    {Misc, 2,  // 59
     {.name = "Presence of keywords in hidden form tags",
      .msg = "Using keywords in hidden form tags can be considered spamming.",
      .descr = "Your keyword phrase appears in hidden form fields. Text that the visitor cannot "
               "see but the engine can read is a well-known spamming trick. Remove your keywords "
               "from the hidden form fields and use them in the visible text instead.",
      .cat = "W", .enable = "1", .value = ""}},
    {Misc, 3,  // 60
     {.name = "Absence of keywords in http-equiv tags",
      .msg = "Use keywords in http-equiv tags with this engine.",
      .descr = "Your http-equiv META tags do not contain your keyword phrase, and the keyword "
               "density of your page is low. This engine reads http-equiv tags as well. As a "
               "last resort, use your keyword phrase in an http-equiv tag.",
      .cat = "S", .enable = "1", .value = "1"}},
    {Misc, 4,  // 61
     {.name = "Keyword in STYLE tags",
      .msg = "Need a boost as a last resort? Add your keyword phrase to a style tag.",
      .descr = "Your style tags do not contain your keyword phrase. Some engines read the text "
               "of style tags as well. Need a boost as a last resort? Add your keyword phrase to "
               "a style tag, for example in a comment within it.",
      .cat = "S", .enable = "1", .value = ""}},
    {Misc, 5,  // 62
     {.name = "Absence of keywords in comment tags",
      .msg = "Add keywords to comment tags with this engine.",
      .descr = "Your comment tags do not contain your keyword phrase. This engine reads the text "
               "of comments as well. Add your keyword phrase to the comment tags of your page, "
               "in a sentence that describes the page.",
      .cat = "S", .enable = "1", .value = ""}},
    {Misc, 6,  // 63
     {.name = "Object tag presence",
      .msg = "You are using the OBJECT tag.",
      .descr = "Your page uses the OBJECT tag to embed a program or multimedia content. Engines "
               "cannot read what an object shows, so any text in it is lost for your ranking. "
               "Make sure that the important text and links of the page are also written in "
               "plain HTML.",
      .cat = "W", .enable = "1", .value = ""}},
    {Misc, 7,  // 64
     {.name = "STYLE tag absence",
      .msg = "You are missing the STYLE tag.",
      .descr = "Your page has no STYLE tag, and the keyword density of your page is low. Some "
               "engines read the text of style tags as well. As a last resort, add a STYLE tag "
               "to the head of your page that holds your keyword phrase.",
      .cat = "S", .enable = "1", .value = ""}},
    {Misc, 8,  // 65
     {.name = "Absence of http-equiv tags",
      .msg = "As a last resort, consider using one http-equiv tag.",
      .descr = "Your page has no http-equiv META tags, and the keyword density of your page is "
               "low. This engine reads http-equiv tags as well. As a last resort, consider using "
               "one http-equiv tag that holds your keyword phrase.",
      .cat = "S", .enable = "1", .value = "1"}},
    {Misc, 9,  // 66
     {.name = "Length of Home URL + filename",
      .msg = "Your URL may be too long to be indexed.",
      .descr = "Your home URL, counted without \"http://\" and \"www.\", is longer than %1 "
               "characters, and your URL may be too long to be indexed: some engines cut long "
               "addresses short or skip them. Use a shorter domain name or folder path, and keep "
               "the address within %1 characters so that 100%% of it is read.",
      .cat = "W", .enable = "1", .value = "55"}},
    {Misc, 10,  // 67
     {.name = "Too many http-equiv tags",
      .msg = "Don't use multiple http-equiv tags with this engine. You're using %2 http-equiv "
             "tags.",
      .descr = "Your page holds more http-equiv META tags than this engine accepts. Several "
               "http-equiv tags can be seen as an attempt to stuff keywords into the head of the "
               "page. Don't use multiple http-equiv tags with this engine: remove the additional "
               "ones.",
      .cat = "W", .enable = "1", .value = "1"}},
    {Misc, 11,  // 68
     {.name = "NoFrames presence",
      .msg = "You're using a \"noframes\" tag, but your site isn't in frames.",
      .descr = "Your page holds a \"noframes\" tag, but it is not a frameset page. The engine "
               "reads text in a \"noframes\" tag that the visitor never sees, which can be "
               "considered hiding text. Remove the \"noframes\" tag and put its text into the body "
               "of the page.",
      .cat = "W", .enable = "1", .value = ""}},
    {Misc, 12,  // 69
     {.name = "Frames presence without keywords in a \"noframes\" tag",
      .msg = "Your site is in frames, and you have a \"noframes\" tag, but you're not using "
             "keywords in that tag",
      .descr = "Your site is in frames and has a \"noframes\" tag, but the tag does not contain "
               "your keyword phrase. Engines that cannot follow frames see only the content of "
               "the \"noframes\" tag. Write text with your keyword phrase and links to your pages "
               "into the \"noframes\" tag.",
      .cat = "W", .enable = "1", .value = ""}},
    {Misc, 13,  // 70
     {.name = "Div tag with style = visibility : hidden",
      .msg = "%2 <div tags with style = \"visibility : hidden\" has been found.",
      .descr = "Your page holds DIV tags with the style \"visibility : hidden\". Text that is "
               "hidden from the visitor but present for the engine is considered spamming and "
               "can get the page removed from the index. Remove the hidden DIV tags or make "
               "their content visible.",
      .cat = "E", .enable = "1", .value = ""}},
    {Tips, 0,  // 71
     {.name = "Additional Suggestion 1",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 1,  // 72
     {.name = "Additional Suggestion 2",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 2,  // 73
     {.name = "Additional Suggestion 3",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 3,  // 74
     {.name = "Additional Suggestion 4",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 4,  // 75
     {.name = "Additional Suggestion 5",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 5,  // 76
     {.name = "Additional Suggestion 6",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 6,  // 77
     {.name = "Additional Suggestion 7",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 7,  // 78
     {.name = "Additional Suggestion 8",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 8,  // 79
     {.name = "Additional Suggestion 9",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 9,  // 80
     {.name = "Additional Suggestion 10",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 10,  // 81
     {.name = "Additional Suggestion 11",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 11,  // 82
     {.name = "Additional Suggestion 12",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 12,  // 83
     {.name = "Additional Suggestion 13",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 13,  // 84
     {.name = "Additional Suggestion 14",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
    {Tips, 14,  // 85
     {.name = "Additional Suggestion 15",
      .msg = "Please read this important suggestion.",
      .descr = "Not yet defined!",
      .cat = "T", .enable = "0", .value = ""}},
}};
// clang-format on

// Every row must sit at the running number that its category and index give.
constexpr bool catalogueIsOrdered() {
    int global = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        if (kCategories[c].firstGlobal != global) return false;
        for (int i = 0; i < kCategories[c].checkCount; ++i, ++global) {
            const CatalogueRow& row = kCatalogue[global];
            if (static_cast<int>(row.category) != c || row.index != i) return false;
        }
    }
    return global == kCheckCount;
}
static_assert(catalogueIsOrdered(), "catalogue rows out of order");

}  // namespace

std::string_view CheckDefinition::field(CheckField f) const {
    switch (f) {
        case CheckField::Name:
            return name;
        case CheckField::Msg:
            return msg;
        case CheckField::Descr:
            return descr;
        case CheckField::Cat:
            return cat;
        case CheckField::Enable:
            return enable;
        case CheckField::Value:
            return value;
    }
    return {};
}

std::string_view categoryName(int category) {
    if (category < 0 || category >= kCategoryCount) return {};
    return kCategories[category].name;
}

int checkCount(int category) {
    if (category < 0 || category >= kCategoryCount) return 0;
    return kCategories[category].checkCount;
}

std::string_view fieldName(CheckField field) {
    const auto index = static_cast<std::size_t>(field);
    return index < kFieldNames.size() ? kFieldNames[index] : std::string_view{};
}

int globalCheckNumber(int category, int index) {
    return kCategories[category].firstGlobal + index;
}

const CheckDefinition& checkDefinition(int category, int index) {
    return kCatalogue[globalCheckNumber(category, index)].check;
}

std::string_view defaultText(int category, int index, CheckField field) {
    return checkDefinition(category, index).field(field);
}

}  // namespace quorvel
