// The small XML document builder behind the import file: one document in
// memory, elements with text and attributes, and saving in one piece.
//
// Every element name, attribute name and value is escaped by the builder
// (fnXmlConvKinsokuWord) before it reaches the document, and the serialiser
// escapes markup characters once more when the file is written. So a value
// A&B is stored as A&amp;amp;B; the program that reads the import file
// expects exactly this.
//
// A document declared "Shift_JIS" is written in code page 932 bytes (company
// and account names use characters such as ①, 髙 and ～ that strict Shift_JIS
// lacks); a character outside code page 932 becomes a character reference.
#pragma once

#include <stdexcept>

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/AppError.h"

struct _xmlDoc;
struct _xmlNode;

// An element of the builder's document. The document owns it; callers only
// hand it back as a parent. nullptr stands for "none".
using TXmlNode = _xmlNode*;

struct TXmlNodeAttr {
  QString Attr;   // attribute name
  QString Value;  // attribute value
};
using TXmlNodeAttrs = QList<TXmlNodeAttr>;

// Raised for a name that is not a valid XML name, a text with a character
// XML cannot hold, a missing node, or a file that cannot be written.
class EXmlSaveDocError : public EAppError {
 public:
  explicit EXmlSaveDocError(const QString& message);
  QString Message() const { return message(); }
};

class TXmlSaveDoc {
 public:
  // _Ver and _Encoding go into the declaration; _Standalone only when it is
  // not empty. Encodings: "Shift_JIS" (code page 932 bytes) or "UTF-8".
  TXmlSaveDoc(const QString& _Ver, const QString& _Encoding, const QString& _Standalone);
  ~TXmlSaveDoc();
  TXmlSaveDoc(const TXmlSaveDoc&) = delete;
  TXmlSaveDoc& operator=(const TXmlSaveDoc&) = delete;

  // The five markup characters replaced by their entities, "&" first.
  static QString fnXmlConvKinsokuWord(const QString& _Text);

  // Creates the document element, in the namespace _Value when that is not
  // empty, replacing any earlier one.
  TXmlNode fnXmlNewRootNode(const QString& _NodeText, const QString& _Value);

  // Appends an element to _pNode (the document element when nullptr); sets
  // the attribute _Attr = _Value when _Attr is not empty.
  TXmlNode fnXmlNewChildNode(TXmlNode _pNode, const QString& _NodeText, const QString& _Attr, const QString& _Value);

  // Appends an element with the text _Value (no content when empty) to
  // _pNode, which must not be nullptr; optional attribute. Returns nullptr.
  TXmlNode fnXmlNewChildBottomNode(TXmlNode _pNode, const QString& _NodeText, const QString& _Value,
                                   const QString& _Attr, const QString& _AttrValue);

  // Changes the text (when _Value is not empty) and an attribute (when _Attr
  // is not empty) of the child of _pNode named _NodeText. Returns nullptr.
  TXmlNode fnXmlNodeValueChange(TXmlNode _pNode, const QString& _NodeText, const QString& _Value, const QString& _Attr,
                                const QString& _AttrValue);

  // As fnXmlNewChildNode with any number of attributes; the escaped names
  // and values are written back into _XmlNodeAttrs.
  TXmlNode fnXmlNewChildNodeA(TXmlNode _pNode, const QString& _NodeText, TXmlNodeAttrs& _XmlNodeAttrs);

  // As fnXmlNewChildBottomNode with any number of attributes. Returns nullptr.
  TXmlNode fnXmlNewChildBottomNodeA(TXmlNode _pNode, const QString& _NodeText, TXmlNodeAttrs& _XmlNodeAttrs,
                                    const QString& _Value);

  // The direct child of _pNode (the document element when nullptr) with the
  // name _NodeText, or nullptr.
  TXmlNode fnXmlGetNode(TXmlNode _pNode, const QString& _NodeText);

  // The whole document as the bytes of the file.
  QByteArray fnXmlSaveToBytes() const;

  // Saves the whole document to the file: written under a temporary name in
  // the same folder and renamed into place, so a failure leaves an existing
  // file as it was.
  void pcXmlSaveToFile(const QString& _Text) const;

 private:
  TXmlNode root() const;
  TXmlNode newElement(TXmlNode parent, const QString& escapedName);
  void setText(TXmlNode node, const QString& escapedText);
  void setAttr(TXmlNode node, const QString& escapedName, const QString& escapedValue);

  _xmlDoc* doc_ = nullptr;
  QString version_;
  QString encoding_;
  QString standalone_;
  bool cp932_ = false;
};
