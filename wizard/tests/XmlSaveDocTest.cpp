#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/SafeSave.h"
#include "tests/support/TempDir.h"
#include "wizard/XmlSaveDoc.h"

namespace {

const QByteArray kSjisDecl = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n";

QByteArray readFile(const QString& path)
{
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return QByteArray("<missing>");
  return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// A one-element document <R><V>value</V></R> in Shift_JIS.
QByteArray valueDocument(const QString& value)
{
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
  doc.fnXmlNewChildBottomNode(root, QStringLiteral("V"), value, QString(), QString());
  return doc.fnXmlSaveToBytes();
}

}  // namespace

TEST(XmlSaveDoc, EscapesEachMarkupCharacterAmpersandFirst)
{
  struct Case {
    QString in;
    QString out;
  };
  const Case cases[] = {
      {QStringLiteral("plain"), QStringLiteral("plain")},
      {QStringLiteral("A&B"), QStringLiteral("A&amp;B")},
      {QStringLiteral("&<>\"'"), QStringLiteral("&amp;&lt;&gt;&quot;&apos;")},
      {QStringLiteral("&amp;"), QStringLiteral("&amp;amp;")},
      {QStringLiteral("<a href='x'>"), QStringLiteral("&lt;a href=&apos;x&apos;&gt;")},
      {QString(), QString()},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TXmlSaveDoc::fnXmlConvKinsokuWord(c.in), c.out) << c.in.toStdString();
}

TEST(XmlSaveDoc, ValuesAreStoredEscapedTwiceAndInCodePage932)
{
  struct Case {
    const char* what;
    QString value;
    QByteArray stored;  // bytes between <V> and </V>
  };
  const Case cases[] = {
      {"all five markup characters", QStringLiteral("&<>\"'"), "&amp;amp;&amp;lt;&amp;gt;&amp;quot;&amp;apos;"},
      {"company name with ampersand", QStringLiteral("A&B"), "A&amp;amp;B"},
      {"kanji outside strict Shift_JIS", QStringLiteral("髙橋"), "\xFB\xFC\x8B\xB4"},
      {"circled digit", QStringLiteral("①"), "\x87\x40"},
      {"fullwidth tilde", QStringLiteral("～"), "\x81\x60"},
      {"fullwidth hyphen-minus", QStringLiteral("－"), "\x81\x7C"},
      {"parenthesised kabushiki", QStringLiteral("㈱"), "\x87\x8A"},
      {"halfwidth katakana", QStringLiteral("ｱｲ"), "\xB1\xB2"},
      {"emoji becomes a character reference", QStringLiteral("A😀B"), "A&#x1F600;B"},
      {"accented latin letter", QStringLiteral("é"), "&#xE9;"},
      {"mixed", QStringLiteral("髙&😀"), "\xFB\xFC&amp;amp;&#x1F600;"},
  };
  for (const Case& c : cases) {
    const QByteArray expected = kSjisDecl + "<R><V>" + c.stored + "</V></R>\n";
    EXPECT_EQ(valueDocument(c.value), expected) << c.what;
  }
}

TEST(XmlSaveDoc, AttributeValuesAndNamesFollowTheSameRules)
{
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
  doc.fnXmlNewChildNode(root, QStringLiteral("髙"), QStringLiteral("Count"), QStringLiteral("1&😀\""));
  doc.fnXmlNewChildBottomNode(root, QStringLiteral("B"), QString(), QStringLiteral("N"), QStringLiteral("<①>"));
  EXPECT_EQ(doc.fnXmlSaveToBytes(), kSjisDecl +
                                        "<R><\xFB\xFC Count=\"1&amp;amp;&#x1F600;&amp;quot;\"/>"
                                        "<B N=\"&amp;lt;\x87\x40&amp;gt;\"/></R>\n");
}

TEST(XmlSaveDoc, NameThatCannotBeWrittenFailsTheSave)
{
  struct Case {
    const char* what;
    QString name;
  };
  // Rejected when the element is created: not an XML name.
  const Case invalid[] = {{"empty", QString()},
                          {"starts with a digit", QStringLiteral("1A")},
                          {"contains a blank", QStringLiteral("A B")},
                          {"ampersand becomes an entity", QStringLiteral("A&B")},
                          {"circled digit is no name character", QStringLiteral("A①")},
                          {"emoji", QStringLiteral("A😀")}};
  for (const Case& c : invalid) {
    TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
    TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
    EXPECT_THROW(doc.fnXmlNewChildNode(root, c.name, QString(), QString()), EXmlSaveDocError) << c.what;
  }
  // A valid XML name that code page 932 cannot hold: refused when saving,
  // since a name cannot carry a character reference.
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
  doc.fnXmlNewChildNode(root, QStringLiteral("Aé"), QString(), QString());
  EXPECT_THROW(doc.fnXmlSaveToBytes(), EXmlSaveDocError);
}

TEST(XmlSaveDoc, TextThatXmlCannotHoldIsRefused)
{
  const QString bad[] = {QStringLiteral("a\x01z"), QString(QChar(0xD800)), QStringLiteral("\uFFFE")};
  for (const QString& value : bad) {
    TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
    TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
    EXPECT_THROW(doc.fnXmlNewChildBottomNode(root, QStringLiteral("V"), value, QString(), QString()), EXmlSaveDocError);
  }
  // Tabs and line breaks are fine; a carriage return is kept as a reference.
  EXPECT_EQ(valueDocument(QStringLiteral("a\tb\nc\rd")), kSjisDecl + "<R><V>a\tb\nc&#13;d</V></R>\n");
}

TEST(XmlSaveDoc, DeclarationCarriesStandaloneOnlyWhenGiven)
{
  struct Case {
    QString encoding;
    QString standalone;
    QByteArray bytes;
  };
  const Case cases[] = {
      {QStringLiteral("Shift_JIS"), QString(), kSjisDecl + "<R><V>\x87\x40</V></R>\n"},
      {QStringLiteral("Shift_JIS"), QStringLiteral("yes"),
       "<?xml version=\"1.0\" encoding=\"Shift_JIS\" standalone=\"yes\"?>\n<R><V>\x87\x40</V></R>\n"},
      {QStringLiteral("UTF-8"), QString(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R><V>\xE2\x91\xA0</V></R>\n"},
  };
  for (const Case& c : cases) {
    TXmlSaveDoc doc(QStringLiteral("1.0"), c.encoding, c.standalone);
    TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
    doc.fnXmlNewChildBottomNode(root, QStringLiteral("V"), QStringLiteral("①"), QString(), QString());
    EXPECT_EQ(doc.fnXmlSaveToBytes(), c.bytes) << c.encoding.toStdString() << c.standalone.toStdString();
  }
  EXPECT_THROW(TXmlSaveDoc(QStringLiteral("1.0"), QStringLiteral("EBCDIC"), QString()), EXmlSaveDocError);
}

TEST(XmlSaveDoc, BuildsTheTreeAsAsked)
{
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("REPORT"), QString());
  // nullptr parent: appended to the document element; an empty attribute
  // name sets no attribute even with a value.
  TXmlNode a = doc.fnXmlNewChildNode(nullptr, QStringLiteral("A"), QString(), QStringLiteral("ignored"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(doc.fnXmlGetNode(nullptr, QStringLiteral("A")), a);
  EXPECT_EQ(doc.fnXmlGetNode(root, QStringLiteral("A")), a);
  EXPECT_EQ(doc.fnXmlGetNode(root, QStringLiteral("Z")), nullptr);
  // A bottom node is created but not handed out; an empty text gives no content.
  EXPECT_EQ(doc.fnXmlNewChildBottomNode(a, QStringLiteral("E"), QString(), QString(), QString()), nullptr);
  EXPECT_EQ(doc.fnXmlNewChildBottomNode(a, QStringLiteral("T"), QStringLiteral("old"), QString(), QString()), nullptr);
  // Value change: text replaced only when given, attribute set when named.
  doc.fnXmlNodeValueChange(a, QStringLiteral("T"), QStringLiteral("new&"), QStringLiteral("K"), QStringLiteral("v"));
  doc.fnXmlNodeValueChange(a, QStringLiteral("E"), QString(), QString(), QString());
  EXPECT_THROW(doc.fnXmlNodeValueChange(a, QStringLiteral("Missing"), QStringLiteral("x"), QString(), QString()),
               EXmlSaveDocError);
  // Attribute arrays: the escaped names and values come back to the caller;
  // an entry with an empty name sets nothing.
  TXmlNodeAttrs attrs{{QStringLiteral("P"), QStringLiteral("1<2")},
                      {QString(), QStringLiteral("dropped")},
                      {QStringLiteral("Q"), QStringLiteral("'q'")}};
  TXmlNode b = doc.fnXmlNewChildNodeA(nullptr, QStringLiteral("B"), attrs);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(attrs[0].Value, QStringLiteral("1&lt;2"));
  EXPECT_EQ(attrs[1].Value, QStringLiteral("dropped"));
  EXPECT_EQ(attrs[2].Value, QStringLiteral("&apos;q&apos;"));
  TXmlNodeAttrs more{{QStringLiteral("C"), QStringLiteral("2")}};
  EXPECT_EQ(doc.fnXmlNewChildBottomNodeA(b, QStringLiteral("L"), more, QStringLiteral("x")), nullptr);

  EXPECT_EQ(doc.fnXmlSaveToBytes(),
            kSjisDecl +
                "<REPORT><A><E/><T K=\"v\">new&amp;amp;</T></A>"
                "<B P=\"1&amp;lt;2\" Q=\"&amp;apos;q&amp;apos;\"><L C=\"2\">x</L></B></REPORT>\n");
}

TEST(XmlSaveDoc, RootElementMayCarryANamespace)
{
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  doc.fnXmlNewRootNode(QStringLiteral("R"), QStringLiteral("urn:x&y"));
  EXPECT_EQ(doc.fnXmlSaveToBytes(), kSjisDecl + "<R xmlns=\"urn:x&amp;amp;y\"/>\n");
  TXmlSaveDoc empty(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  EXPECT_THROW(empty.fnXmlSaveToBytes(), EXmlSaveDocError);
}

TEST(XmlSaveDoc, SavingReplacesTheFileAndAFailureLeavesItUntouched)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("out.xml"));
  writeFile(path, "earlier file");

  {
    TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
    TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
    doc.fnXmlNewChildNode(root, QStringLiteral("Aé"), QString(), QString());
    EXPECT_THROW(doc.pcXmlSaveToFile(path), EXmlSaveDocError);
  }
  EXPECT_EQ(readFile(path), QByteArray("earlier file"));

  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  TXmlNode root = doc.fnXmlNewRootNode(QStringLiteral("R"), QString());
  doc.fnXmlNewChildBottomNode(root, QStringLiteral("V"), QStringLiteral("髙"), QString(), QString());
  doc.pcXmlSaveToFile(path);
  EXPECT_EQ(readFile(path), kSjisDecl + "<R><V>\xFB\xFC</V></R>\n");
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.xml")});

  EXPECT_THROW(doc.pcXmlSaveToFile(dir.file(QStringLiteral("no/such/folder/out.xml"))), EXmlSaveDocError);

  // A disk that fills up part way: the save fails, saying so, and the file
  // written before stays as it was.
  const QByteArray good = readFile(path);
  doc.fnXmlNewChildBottomNode(root, QStringLiteral("W"), QString(200, u'x'), QString(), QString());
  SetSafeSaveFaultAfter(40, ENOSPC);
  try {
    doc.pcXmlSaveToFile(path);
    ADD_FAILURE() << "a save on a full disk reported success";
  } catch (const EXmlSaveDocError& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("ディスクの空き容量が足りません。"))) << e.Message().toStdString();
  }
  SetSafeSaveFaultAfter(-1, 0);
  EXPECT_EQ(readFile(path), good);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.xml")});
}
