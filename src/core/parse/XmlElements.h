#pragma once
// A small, tolerant reader of the elements of an XML document, enough for the documents other
// programs write for Windows (task definitions): elements, their text, comments, CDATA,
// processing instructions and a document type are understood; attributes are skipped;
// namespace prefixes are dropped from names. No entity but the predefined ones and character
// references is expanded, and nothing is fetched. It never recurses and allows a bounded depth.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/parse/UnicodeText.h"

namespace zorvik::parse {

// Elements deeper than this make the document malformed.
inline constexpr std::size_t kXmlDepthLimit = 64;

// The encoding of the document's bytes: UTF-16 or UTF-8 by a byte order mark; without one,
// UTF-16 when its first character is '<' in UTF-16 (XML's own rule), else UTF-8.
TextEncoding XmlDocumentEncoding(std::string_view bytes);

// The document's bytes, in their encoding, as ANSI text.
std::string XmlDocumentToAnsi(std::string_view bytes);

// Where an element lies in the text read: the offsets of its start tag's '<', just past that
// tag's '>', of its end tag's '<', and just past its end. An empty-element tag (<a/>) has no
// content: contentBegin, contentEnd and end are all just past it.
struct XmlElementSpan {
    std::size_t start = 0;
    std::size_t contentBegin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

class XmlElementVisitor {
public:
    virtual ~XmlElementVisitor() = default;
    // path: the local names of the elements from the root down to the one that starts.
    virtual void ElementStarted(const std::vector<std::string>& path) = 0;
    // text: the element's character data since its last child ended (for an element without
    // children: all of it), entities and character references expanded.
    virtual void ElementEnded(const std::vector<std::string>& path, const std::string& text) = 0;
    // Where the element that ends lies; called just before ElementEnded, for a visitor that
    // changes the text in place.
    virtual void ElementSpanRead(const std::vector<std::string>& /*path*/,
                                 const XmlElementSpan& /*span*/) {}
};

// Reads the elements of the ANSI text in document order. False when the document is malformed
// or cut short: an end tag that closes another element, markup left open at the end, no root
// element or one left open, elements nested deeper than the limit. The visitor may have seen
// part of the document by then.
bool ReadXmlElements(std::string_view text, XmlElementVisitor& visitor);

// The text without the blanks XML allows around a value (space, tab, CR, LF).
std::string TrimXmlBlanks(std::string_view text);

}  // namespace zorvik::parse
