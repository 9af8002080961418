#pragma once
// A streaming XML parser: libxml2's SAX2 push parser, fed block by block, with
// the settings that make any input safe to read. Namespaces are resolved,
// character and internal entity references expanded, attribute values
// normalised, the declared encoding honoured. Nothing is fetched: no network,
// no external DTD, no external entity (a reference to one stops the parser
// before libxml2 would load it itself), and libxml2's own messages become
// the fault's text rather than reaching standard error.
//
// Memory stays flat and time linear whatever the input, each resource a
// document can ask for bounded and a bound reached a fault that names it:
// the bytes held unread (a tag, comment, declaration or section that has not
// closed yet, kMarkupLimit), elements open at once (kDepthLimit), the text
// that entity references expand to in all (kExpansionLimit), the attributes
// of one tag, the attribute declarations and the namespaces in scope
// (kAttributeLimit each). A document is judged the same wherever its blocks
// split.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <exception>
#include <memory>
#include <span>

namespace lists {

// What a document holds, as the parser reads it, in document order. Names and
// namespace URIs are UTF-8; an element without a namespace has an empty URI.
class XmlEvents {
public:
    struct Attribute {
        QByteArrayView local, uri, value;
    };
    virtual ~XmlEvents() = default;
    // line: the line on which the start tag ends.
    virtual void start(QByteArrayView local, QByteArrayView uri,
                       std::span<const Attribute> attributes, qint64 line) = 0;
    virtual void end() = 0;
    // A piece of character data (entities expanded, CDATA sections included);
    // XmlParser::line() tells the line on which it ends.
    virtual void text(QByteArrayView utf8) = 0;
};

// A document that is not well formed or that the parser refuses: what, and
// the line it was found on.
struct XmlError {
    QString what;
    qint64 line;
};

class XmlParser {
public:
    // The most bytes held unread at once, the longest markup: libxml2's own
    // limit of a text node without its "huge" option.
    static constexpr qsizetype kMarkupLimit = 10'000'000;
    // The deepest nesting of elements, as for JSON.
    static constexpr int kDepthLimit = 256;
    // Entity references are expanded up to this many bytes in all.
    static constexpr qsizetype kExpansionLimit = 10'000'000;
    static constexpr int kAttributeLimit = 256;

    explicit XmlParser(XmlEvents& events);
    ~XmlParser();
    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;

    // Bytes of the document in blocks of any size. Throws XmlError at the
    // first fault, or what an event threw; the events before it have been
    // delivered.
    void feed(QByteArrayView bytes);
    void finish(); // the document must be complete
    // Called from an event: the parser delivers no more events.
    void stop();
    bool stopped() const { return stopped_; }
    // From here on the events need not include texts and end tags: the parser
    // skips their calls (a reader that needs start tags alone).
    void startTagsOnly();
    qint64 line() const; // where the parser is

private:
    struct Context;
    void piece(QByteArrayView bytes, bool last);
    void parse(QByteArrayView bytes, bool last);
    void check(int code);
    void refuseTag(QByteArrayView bytes, qsizetype at);

    std::unique_ptr<Context> context_;
    std::exception_ptr thrown_; // what an event threw, passed on after the block
    bool stopped_ = false;
    QByteArray held_; // a "]" or "]]" that ends a block waits for the next byte
    friend struct XmlCallbacks;
};

} // namespace lists
