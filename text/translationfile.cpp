// The reader of translation files: the part of XML that Qt Linguist's .ts files use.
#include "text/texts.h"

#include <cstdlib>
#include <string>

namespace {

struct Node {
    std::string name;
    std::string type; // the attribute "type" (a translation's state), "" when absent
    std::string text; // the character data directly inside, decoded
    std::vector<Node> children;
};

class XmlReader {
public:
    explicit XmlReader(std::string_view text) : text(text) {}

    // The document's one element; false with *error when the text is not well-formed.
    bool document(Node *root, std::string *error) {
        skipMisc();
        if (!element(root)) {
            *error = problem.empty() ? failure("no element") : problem;
            return false;
        }
        skipMisc();
        if (at < text.size()) {
            *error = failure("text after the document's element");
            return false;
        }
        return true;
    }

private:
    std::string failure(const std::string &what) const {
        int line = 1;
        for (size_t i = 0; i < at && i < text.size(); ++i) {
            line += text[i] == '\n' ? 1 : 0;
        }
        return "line " + std::to_string(line) + ": " + what;
    }

    bool fail(const std::string &what) {
        if (problem.empty()) {
            problem = failure(what);
        }
        return false;
    }

    bool startsWith(std::string_view prefix) const {
        return text.substr(at, prefix.size()) == prefix;
    }

    // Passes over `prefix`, then everything up to and including `end`.
    bool skipThrough(std::string_view prefix, std::string_view end) {
        const size_t found = text.find(end, at + prefix.size());
        if (found == std::string_view::npos) {
            return fail("unterminated " + std::string(prefix));
        }
        at = found + end.size();
        return true;
    }

    void skipSpace() {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
            ++at;
        }
    }

    // White space, the XML declaration, a document type and comments between elements.
    void skipMisc() {
        for (;;) {
            skipSpace();
            if (startsWith("<?")) {
                skipThrough("<?", "?>");
            } else if (startsWith("<!--")) {
                skipThrough("<!--", "-->");
            } else if (startsWith("<!DOCTYPE")) {
                skipThrough("<!DOCTYPE", ">");
            } else {
                return;
            }
        }
    }

    std::string name() {
        const size_t start = at;
        while (at < text.size() &&
               std::string_view(" \t\r\n/>=").find(text[at]) == std::string_view::npos) {
            ++at;
        }
        return std::string(text.substr(start, at - start));
    }

    static void appendUtf8(std::string *out, unsigned long c) {
        if (c < 0x80) {
            *out += static_cast<char>(c);
        } else if (c < 0x800) {
            *out += static_cast<char>(0xC0 | (c >> 6));
            *out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *out += static_cast<char>(0xE0 | (c >> 12));
            *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out += static_cast<char>(0xF0 | (c >> 18));
            *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    // Character data up to `stop`, with its references decoded and its line ends made line
    // feeds, as XML reads them.
    bool characters(char stop, std::string *out) {
        while (at < text.size() && text[at] != stop) {
            const char c = text[at];
            if (c == '&') {
                const size_t end = text.find(';', at);
                if (end == std::string_view::npos || end - at > 10) {
                    return fail("unterminated reference");
                }
                const std::string_view ref = text.substr(at + 1, end - at - 1);
                at = end + 1;
                if (ref == "amp") {
                    *out += '&';
                } else if (ref == "lt") {
                    *out += '<';
                } else if (ref == "gt") {
                    *out += '>';
                } else if (ref == "quot") {
                    *out += '"';
                } else if (ref == "apos") {
                    *out += '\'';
                } else if (ref.size() > 1 && ref[0] == '#') {
                    const bool hex = ref[1] == 'x';
                    const std::string digits(ref.substr(hex ? 2 : 1));
                    size_t used = 0;
                    unsigned long code = 0;
                    try {
                        code = std::stoul(digits, &used, hex ? 16 : 10);
                    } catch (...) {
                        used = 0;
                    }
                    if (digits.empty() || used != digits.size() || code == 0 || code > 0x10FFFF) {
                        return fail("bad character reference &" + std::string(ref) + ";");
                    }
                    appendUtf8(out, code);
                } else {
                    return fail("unknown entity &" + std::string(ref) + ";");
                }
            } else if (c == '\r') {
                ++at;
                *out += '\n';
                if (at < text.size() && text[at] == '\n') {
                    ++at;
                }
            } else {
                *out += c;
                ++at;
            }
        }
        return true;
    }

    bool attributes(Node *node) {
        for (;;) {
            skipSpace();
            if (at >= text.size()) {
                return fail("unterminated tag <" + node->name);
            }
            if (text[at] == '>' || text[at] == '/') {
                return true;
            }
            const std::string attribute = name();
            skipSpace();
            if (attribute.empty() || at >= text.size() || text[at] != '=') {
                return fail("bad attribute in <" + node->name);
            }
            ++at;
            skipSpace();
            if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) {
                return fail("attribute " + attribute + " without quotes");
            }
            const char quote = text[at++];
            std::string value;
            if (!characters(quote, &value) || at >= text.size()) {
                return fail("unterminated attribute " + attribute);
            }
            ++at;
            if (attribute == "type") {
                node->type = value;
            } else if (attribute == "value" && node->name == "byte") {
                // lupdate writes a control character as <byte value="x9"/>.
                node->text = value;
            }
        }
    }

    bool element(Node *node) {
        if (!startsWith("<")) {
            return fail("element expected");
        }
        ++at;
        node->name = name();
        if (node->name.empty()) {
            return fail("element without a name");
        }
        if (!attributes(node)) {
            return false;
        }
        if (startsWith("/>")) {
            at += 2;
            return true;
        }
        ++at; // '>'
        for (;;) {
            if (at >= text.size()) {
                return fail("unterminated element <" + node->name + ">");
            }
            if (startsWith("</")) {
                at += 2;
                if (name() != node->name) {
                    return fail("end tag does not match <" + node->name + ">");
                }
                skipSpace();
                if (!startsWith(">")) {
                    return fail("bad end tag of <" + node->name + ">");
                }
                ++at;
                return true;
            }
            if (startsWith("<!--")) {
                if (!skipThrough("<!--", "-->")) {
                    return false;
                }
            } else if (startsWith("<![CDATA[")) {
                const size_t start = at + 9;
                if (!skipThrough("<![CDATA[", "]]>")) {
                    return false;
                }
                node->text += text.substr(start, at - 3 - start);
            } else if (startsWith("<")) {
                Node child;
                if (!element(&child)) {
                    return false;
                }
                if (child.name == "byte") {
                    std::string character;
                    const bool hex = !child.text.empty() && child.text[0] == 'x';
                    const unsigned long code =
                        std::strtoul(child.text.c_str() + (hex ? 1 : 0), nullptr, hex ? 16 : 10);
                    appendUtf8(&node->text, code);
                } else {
                    node->children.push_back(std::move(child));
                }
            } else if (!characters('<', &node->text)) {
                return false;
            }
        }
    }

    std::string_view text;
    size_t at = 0;
    std::string problem;
};

const Node *childNamed(const Node &node, std::string_view name) {
    for (const Node &child : node.children) {
        if (child.name == name) {
            return &child;
        }
    }
    return nullptr;
}

} // namespace

bool readTranslationFile(std::string_view text, std::vector<TranslationMessage> *messages,
                         std::string *error) {
    Node root;
    if (!XmlReader(text).document(&root, error)) {
        return false;
    }
    if (root.name != "TS") {
        *error = "not a translation file: <" + root.name + ">";
        return false;
    }
    for (const Node &context : root.children) {
        if (context.name != "context") {
            continue;
        }
        const Node *contextName = childNamed(context, "name");
        if (contextName == nullptr) {
            *error = "a context without a name";
            return false;
        }
        for (const Node &message : context.children) {
            if (message.name != "message") {
                continue;
            }
            const Node *source = childNamed(message, "source");
            const Node *translation = childNamed(message, "translation");
            if (source == nullptr || translation == nullptr) {
                *error = "a message of " + contextName->text + " without source or translation";
                return false;
            }
            if (!translation->children.empty()) {
                *error = "a message of " + contextName->text + " with plural forms";
                return false;
            }
            messages->push_back({contextName->text, source->text, translation->text,
                                 translation->type.empty() && !translation->text.empty()});
        }
    }
    return true;
}
