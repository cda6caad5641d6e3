#include "wizard/XmlSaveDoc.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <memory>

#include <QHash>

#include "platform/SafeSave.h"
#include "platform/TextCodec.h"

EXmlSaveDocError::EXmlSaveDocError(const QString& message) : EAppError(message) {}

namespace {

const xmlChar* X(const QByteArray& bytes)
{
  return reinterpret_cast<const xmlChar*>(bytes.constData());
}

bool isXmlChar(char32_t c)
{
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// Every character must be one that an XML document can hold (no control
// characters other than tab and line breaks, no unpaired surrogates).
void checkXmlText(const QString& text, const char* what)
{
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    char32_t cp = c.unicode();
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(c, text.at(i + 1));
      ++i;
    } else if (c.isSurrogate()) {
      cp = 0xFFFF;  // unpaired: not an XML character
    }
    if (!isXmlChar(cp))
      throw EXmlSaveDocError(
          QStringLiteral("XML に書けない文字 (U+%1) が%2に含まれています。")
              .arg(QString::number(quint32(cp), 16).toUpper().rightJustified(4, u'0'), QString::fromUtf8(what)));
  }
}

void checkXmlName(const QString& name)
{
  const QByteArray utf8 = name.toUtf8();
  if (name.isEmpty() || xmlValidateName(X(utf8), 0) != 0)
    throw EXmlSaveDocError(QStringLiteral("XML の名前として使えません: \"%1\"").arg(name));
}

bool sameEncoding(const QString& a, const char* b)
{
  return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool isShiftJisName(const QString& encoding)
{
  return sameEncoding(encoding, "Shift_JIS") || sameEncoding(encoding, "Shift-JIS") || sameEncoding(encoding, "SJIS") ||
         sameEncoding(encoding, "CP932") || sameEncoding(encoding, "Windows-31J");
}

// Whether one character (a code point) has a code page 932 form; remembered
// per character because the same few characters recur through a document.
class Cp932Probe {
 public:
  bool has(char32_t cp)
  {
    if (cp < 0x80)
      return true;
    auto it = known_.constFind(cp);
    if (it != known_.constEnd())
      return *it;
    const bool ok = isCp932Representable(cp);
    known_.insert(cp, ok);
    return ok;
  }

 private:
  QHash<char32_t, bool> known_;
};

// The serialised document (declaration excluded) with every character that
// code page 932 lacks turned into a character reference, then encoded. Such a
// character inside a tag but outside a quoted attribute value belongs to a
// name, where a reference is not allowed.
QByteArray encodeCp932WithRefs(const QString& xml)
{
  Cp932Probe probe;
  QString out;
  out.reserve(xml.size() + 16);
  bool inTag = false;
  bool inValue = false;
  for (qsizetype i = 0; i < xml.size(); ++i) {
    const QChar c = xml.at(i);
    if (c == u'<' && !inTag) {
      inTag = true;
    } else if (inTag && c == u'"') {
      inValue = !inValue;
    } else if (inTag && !inValue && c == u'>') {
      inTag = false;
    }
    char32_t cp = c.unicode();
    qsizetype len = 1;
    if (c.isHighSurrogate() && i + 1 < xml.size() && xml.at(i + 1).isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(c, xml.at(i + 1));
      len = 2;
    }
    if (probe.has(cp)) {
      out.append(xml.mid(i, len));
    } else if (inTag && !inValue) {
      throw EXmlSaveDocError(QStringLiteral("Shift_JIS で書けない文字 (U+%1) が要素名か属性名に含まれています。")
                                 .arg(QString::number(quint32(cp), 16).toUpper()));
    } else {
      out.append(QStringLiteral("&#x%1;").arg(QString::number(quint32(cp), 16).toUpper()));
    }
    i += len - 1;
  }
  bool ok = true;
  QByteArray bytes = toCp932(out, &ok);
  if (!ok)
    throw EXmlSaveDocError(QStringLiteral("Shift_JIS への変換に失敗しました。"));
  return bytes;
}

}  // namespace

TXmlSaveDoc::TXmlSaveDoc(const QString& _Ver, const QString& _Encoding, const QString& _Standalone)
    : version_(_Ver.isEmpty() ? QStringLiteral("1.0") : _Ver), encoding_(_Encoding), standalone_(_Standalone)
{
  if (isShiftJisName(_Encoding))
    cp932_ = true;
  else if (!_Encoding.isEmpty() && !sameEncoding(_Encoding, "UTF-8") && !sameEncoding(_Encoding, "UTF8"))
    throw EXmlSaveDocError(QStringLiteral("XML の文字コード \"%1\" には対応していません。").arg(_Encoding));
  doc_ = xmlNewDoc(X(version_.toUtf8()));
  if (!doc_)
    throw std::bad_alloc();
}

TXmlSaveDoc::~TXmlSaveDoc()
{
  xmlFreeDoc(doc_);
}

QString TXmlSaveDoc::fnXmlConvKinsokuWord(const QString& _Text)
{
  QString s = _Text;
  s.replace(u'&', QStringLiteral("&amp;"));
  s.replace(u'<', QStringLiteral("&lt;"));
  s.replace(u'>', QStringLiteral("&gt;"));
  s.replace(u'"', QStringLiteral("&quot;"));
  s.replace(u'\'', QStringLiteral("&apos;"));
  return s;
}

TXmlNode TXmlSaveDoc::root() const
{
  return xmlDocGetRootElement(doc_);
}

TXmlNode TXmlSaveDoc::newElement(TXmlNode parent, const QString& escapedName)
{
  checkXmlName(escapedName);
  xmlNodePtr node = xmlNewDocNode(doc_, nullptr, X(escapedName.toUtf8()), nullptr);
  if (!node)
    throw std::bad_alloc();
  if (parent)
    xmlAddChild(parent, node);
  return node;
}

void TXmlSaveDoc::setText(TXmlNode node, const QString& escapedText)
{
  checkXmlText(escapedText, "要素の値");
  // Remove the old content; the new text goes in as it stands (the
  // serialiser escapes it when the document is written).
  xmlNodePtr child = node->children;
  while (child) {
    xmlNodePtr next = child->next;
    xmlUnlinkNode(child);
    xmlFreeNode(child);
    child = next;
  }
  if (escapedText.isEmpty())
    return;
  const QByteArray utf8 = escapedText.toUtf8();
  xmlNodePtr text = xmlNewDocTextLen(doc_, X(utf8), int(utf8.size()));
  if (!text)
    throw std::bad_alloc();
  xmlAddChild(node, text);
}

void TXmlSaveDoc::setAttr(TXmlNode node, const QString& escapedName, const QString& escapedValue)
{
  checkXmlName(escapedName);
  checkXmlText(escapedValue, "属性の値");
  if (!xmlSetProp(node, X(escapedName.toUtf8()), X(escapedValue.toUtf8())))
    throw std::bad_alloc();
}

TXmlNode TXmlSaveDoc::fnXmlNewRootNode(const QString& _NodeText, const QString& _Value)
{
  const QString name = fnXmlConvKinsokuWord(_NodeText);
  const QString uri = fnXmlConvKinsokuWord(_Value);
  xmlNodePtr node = newElement(nullptr, name);
  if (!uri.isEmpty()) {
    checkXmlText(uri, "名前空間");
    // The serialiser writes a namespace name as it stands, so the escaping
    // it gives every other value is done here.
    QString href = uri;
    href.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;"));
    href.replace(u'>', QStringLiteral("&gt;")).replace(u'"', QStringLiteral("&quot;"));
    xmlNsPtr ns = xmlNewNs(node, X(href.toUtf8()), nullptr);
    if (!ns) {
      xmlFreeNode(node);
      throw std::bad_alloc();
    }
    xmlSetNs(node, ns);
  }
  xmlNodePtr old = xmlDocSetRootElement(doc_, node);
  if (old)
    xmlFreeNode(old);
  return node;
}

TXmlNode TXmlSaveDoc::fnXmlNewChildNode(TXmlNode _pNode, const QString& _NodeText, const QString& _Attr,
                                        const QString& _Value)
{
  const QString name = fnXmlConvKinsokuWord(_NodeText);
  const QString attr = fnXmlConvKinsokuWord(_Attr);
  const QString value = fnXmlConvKinsokuWord(_Value);
  TXmlNode parent = _pNode ? _pNode : root();
  if (!parent)
    throw EXmlSaveDocError(QStringLiteral("XML の文書要素がありません。"));
  xmlNodePtr node = newElement(parent, name);
  if (!attr.isEmpty())
    setAttr(node, attr, value);
  return node;
}

TXmlNode TXmlSaveDoc::fnXmlNewChildBottomNode(TXmlNode _pNode, const QString& _NodeText, const QString& _Value,
                                              const QString& _Attr, const QString& _AttrValue)
{
  const QString name = fnXmlConvKinsokuWord(_NodeText);
  const QString value = fnXmlConvKinsokuWord(_Value);
  const QString attr = fnXmlConvKinsokuWord(_Attr);
  const QString attrValue = fnXmlConvKinsokuWord(_AttrValue);
  if (!_pNode)
    throw EXmlSaveDocError(QStringLiteral("XML の親要素がありません: %1").arg(name));
  xmlNodePtr node = newElement(_pNode, name);
  setText(node, value);
  if (!attr.isEmpty())
    setAttr(node, attr, attrValue);
  return nullptr;
}

TXmlNode TXmlSaveDoc::fnXmlNodeValueChange(TXmlNode _pNode, const QString& _NodeText, const QString& _Value,
                                           const QString& _Attr, const QString& _AttrValue)
{
  const QString name = fnXmlConvKinsokuWord(_NodeText);
  const QString value = fnXmlConvKinsokuWord(_Value);
  const QString attr = fnXmlConvKinsokuWord(_Attr);
  const QString attrValue = fnXmlConvKinsokuWord(_AttrValue);
  TXmlNode node = _pNode ? fnXmlGetNode(_pNode, _NodeText) : nullptr;
  if (!node)
    throw EXmlSaveDocError(QStringLiteral("XML の要素が見つかりません: %1").arg(name));
  if (!value.isEmpty())
    setText(node, value);
  if (!attr.isEmpty())
    setAttr(node, attr, attrValue);
  return nullptr;
}

TXmlNode TXmlSaveDoc::fnXmlNewChildNodeA(TXmlNode _pNode, const QString& _NodeText, TXmlNodeAttrs& _XmlNodeAttrs)
{
  const QString name = fnXmlConvKinsokuWord(_NodeText);
  TXmlNode parent = _pNode ? _pNode : root();
  if (!parent)
    throw EXmlSaveDocError(QStringLiteral("XML の文書要素がありません。"));
  xmlNodePtr node = newElement(parent, name);
  for (TXmlNodeAttr& a : _XmlNodeAttrs) {
    a.Attr = fnXmlConvKinsokuWord(a.Attr);
    a.Value = fnXmlConvKinsokuWord(a.Value);
    if (!a.Attr.isEmpty())
      setAttr(node, a.Attr, a.Value);
  }
  return node;
}

TXmlNode TXmlSaveDoc::fnXmlNewChildBottomNodeA(TXmlNode _pNode, const QString& _NodeText, TXmlNodeAttrs& _XmlNodeAttrs,
                                               const QString& _Value)
{
  const QString name = fnXmlConvKinsokuWord(_NodeText);
  const QString value = fnXmlConvKinsokuWord(_Value);
  if (!_pNode)
    throw EXmlSaveDocError(QStringLiteral("XML の親要素がありません: %1").arg(name));
  xmlNodePtr node = newElement(_pNode, name);
  setText(node, value);
  for (TXmlNodeAttr& a : _XmlNodeAttrs) {
    a.Attr = fnXmlConvKinsokuWord(a.Attr);
    a.Value = fnXmlConvKinsokuWord(a.Value);
    if (!a.Attr.isEmpty())
      setAttr(node, a.Attr, a.Value);
  }
  return nullptr;
}

TXmlNode TXmlSaveDoc::fnXmlGetNode(TXmlNode _pNode, const QString& _NodeText)
{
  TXmlNode parent = _pNode ? _pNode : root();
  if (!parent)
    return nullptr;
  const QByteArray name = fnXmlConvKinsokuWord(_NodeText).toUtf8();
  for (xmlNodePtr c = parent->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && xmlStrEqual(c->name, X(name)))
      return c;
  return nullptr;
}

QByteArray TXmlSaveDoc::fnXmlSaveToBytes() const
{
  if (!root())
    throw EXmlSaveDocError(QStringLiteral("XML の文書要素がありません。"));

  // The element tree in UTF-8, without declaration and without indentation.
  std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), &xmlBufferFree);
  if (!buffer)
    throw std::bad_alloc();
  xmlSaveCtxtPtr ctxt = xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_NO_DECL);
  if (!ctxt)
    throw std::bad_alloc();
  const long written = xmlSaveDoc(ctxt, doc_);
  xmlSaveClose(ctxt);
  if (written < 0)
    throw EXmlSaveDocError(QStringLiteral("XML 文書を書き出せませんでした。"));
  const QString body =
      QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));

  QString decl = QStringLiteral("<?xml version=\"%1\"").arg(version_);
  if (!encoding_.isEmpty())
    decl += QStringLiteral(" encoding=\"%1\"").arg(encoding_);
  if (!standalone_.isEmpty())
    decl += QStringLiteral(" standalone=\"%1\"").arg(standalone_);
  decl += QStringLiteral("?>\n");

  if (cp932_)
    return decl.toLatin1() + encodeCp932WithRefs(body);
  return (decl + body).toUtf8();
}

void TXmlSaveDoc::pcXmlSaveToFile(const QString& _Text) const
{
  const QByteArray bytes = fnXmlSaveToBytes();
  try {
    SaveFileSafely(_Text, bytes);
  } catch (const ESafeSaveError& e) {
    throw EXmlSaveDocError(e.message());
  }
}
