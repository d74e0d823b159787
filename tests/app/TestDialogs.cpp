// The dialogs exchange their values with the controls, refuse what is not a
// number in range (the dialog stays open, the focus back in the edit), and
// cancel on Escape.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "AppTestSupport.h"
#include "ExaminerOptionsDialog.h"
#include "HeightDialog.h"
#include "LightDialog.h"
#include "MyFontDialog.h"
#include "ShapeDialog.h"
#include "TextDialog.h"
#include "AboutDialog.h"

namespace {

std::unique_ptr<CHeightDialog> HeightDialog(double value) {
  auto dialog = std::make_unique<CHeightDialog>();
  dialog->value = value;
  return dialog;
}

std::unique_ptr<CShapeDialog> ShapeDialog(double depth, int applyTo, int shapeChoice) {
  auto dialog = std::make_unique<CShapeDialog>();
  dialog->depth = depth;
  dialog->applyTo = applyTo;
  dialog->shapeChoice = shapeChoice;
  dialog->sizeChoice = 1;
  return dialog;
}

}  // namespace

TEST(DialogNumbers, OnlyWholeDecimalNumbersAreNumbers) {
  const std::pair<const char*, double> numbers[] = {{" 2.5 ", 2.5}, {"+1e3", 1000.0}, {"-0.25", -0.25}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(ParseDialogNumber(text), value) << text;
  for (const char* text : {"", "   ", "2,5", "12abc", "+-3", "inf", "nan"})
    EXPECT_FALSE(ParseDialogNumber(text)) << text;
  EXPECT_EQ(FormatDialogNumber(0.2), "0.2");
  EXPECT_EQ(FormatDialogNumber(10.0), "10");
  EXPECT_EQ(FormatDialogNumber(1000000.0), "1000000");
}

TEST(DialogNumbers, RefusedEntryKeepsTheDialogOpenWithTheMessageAndTheFocusInTheEdit) {
  struct Case {
    std::unique_ptr<QDialog> dialog;
    const char* edit;
    const char* typed;
    const char* message;
  };
  Case cases[] = {
      {HeightDialog(1.5), "1000", "0", "Please enter a number between 0.001 and 1000000."},
      {HeightDialog(1.5), "1000", "tall", "Please enter a number."},
      {ShapeDialog(0.2, 1, 1), "1013", "100.5", "Please enter a number between 0.001 and 100."},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.dialog->windowTitle().toStdString() + ": " + c.typed);
    MessageRecorder messages;
    c.dialog->show();
    auto* edit = c.dialog->findChild<QLineEdit*>(c.edit);
    ASSERT_NE(edit, nullptr);
    edit->setText(c.typed);
    c.dialog->accept();
    EXPECT_TRUE(c.dialog->isVisible());
    EXPECT_EQ(c.dialog->result(), 0);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, c.message);
    EXPECT_EQ(messages.messages[0].caption, "Glyphkiln");
    EXPECT_EQ(c.dialog->focusWidget(), edit);
  }
}

TEST(HeightDialog, ShowsItsValueTakesTheLimitButNeverARefusedValue) {
  MessageRecorder messages;
  const auto dialog = HeightDialog(1.5);
  dialog->show();
  auto* edit = dialog->findChild<QLineEdit*>("1000");
  EXPECT_EQ(edit->text(), "1.5");
  edit->setText("0");
  dialog->accept();
  EXPECT_EQ(dialog->value, 1.5);
  edit->setText("1000000");
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->value, 1000000.0);
}

TEST(ShapeDialog, PresetFillsTheDepthEvenFromAnEmptyEdit) {
  MessageRecorder messages;
  const auto dialog = ShapeDialog(0.2, 1, 0);
  dialog->show();
  auto* edit = dialog->findChild<QLineEdit*>("1013");
  edit->clear();
  dialog->findChild<QAbstractButton*>("1017")->click();  // "XLong"
  EXPECT_EQ(edit->text(), "10");
  EXPECT_TRUE(messages.messages.empty());
  dialog->findChild<QAbstractButton*>("1014")->click();  // "Small"
  EXPECT_EQ(edit->text(), "0.06");
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->depth, 0.06);
  EXPECT_EQ(dialog->depthPreset, 0);
  EXPECT_EQ(dialog->applyTo, 1);
  EXPECT_EQ(dialog->shapeChoice, 0);
}

TEST(ShapeDialog, StraightSideDisablesTheSizesUntilAnotherShapeIsChosen) {
  const auto dialog = ShapeDialog(0.2, 0, 0);
  dialog->show();
  EXPECT_TRUE(dialog->findChild<QAbstractButton*>("1025")->isEnabled()) << "a selection can be the target";
  for (const char* id : {"1022", "1023", "1024"}) EXPECT_FALSE(dialog->findChild<QAbstractButton*>(id)->isEnabled());
  dialog->findChild<QAbstractButton*>("1020")->click();
  for (const char* id : {"1022", "1023", "1024"}) EXPECT_TRUE(dialog->findChild<QAbstractButton*>(id)->isEnabled());
  dialog->findChild<QAbstractButton*>("1018")->click();
  EXPECT_FALSE(dialog->findChild<QAbstractButton*>("1023")->isEnabled());
}

TEST(ShapeDialog, TabVisitsTheControlsInTemplateOrder) {
  const auto dialog = ShapeDialog(0.2, 0, 1);
  dialog->show();
  // Qt's focus chain follows creation order; the radio groups are one stop each.
  QStringList order;
  QWidget* widget = dialog->findChild<QWidget*>("1");
  for (int i = 0; i < 8 && widget; ++i) {
    order << widget->objectName();
    widget = widget->nextInFocusChain();
    while (widget && widget != dialog.get() && widget->objectName().isEmpty()) widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(order.mid(0, 4), (QStringList{"1", "2", "1013", "1014"}));
}

TEST(Dialogs, EscapeCancelsAndLeavesTheFields) {
  const auto dialog = HeightDialog(2.0);
  dialog->show();
  dialog->findChild<QLineEdit*>("1000")->setText("5");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(dialog.get(), &escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(dialog->value, 2.0);
}

TEST(Dialogs, TitlesAndControlsOfTheTemplates) {
  CTextDialog text;
  EXPECT_EQ(text.windowTitle(), "Enter the text");
  EXPECT_NE(text.findChild<QPlainTextEdit*>("1000"), nullptr);
  EXPECT_EQ(text.findChild<QAbstractButton*>("2"), nullptr) << "no Cancel button";
  CLightDialog light;
  EXPECT_EQ(light.windowTitle(), "Light");
  CShapeDialog shape;
  EXPECT_EQ(shape.windowTitle(), "Shape");
  CExaminerOptionsDialog options;
  EXPECT_EQ(options.windowTitle(), "Examiner Options");
  CAboutDialog about;
  EXPECT_EQ(about.windowTitle(), "About");
  QStringList texts;
  for (QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains("Glyphkiln"));
  EXPECT_TRUE(texts.contains("version 2.0"));
  // Proportions follow the template: the Shape dialog is wider than tall like its 328 x 188.
  EXPECT_NEAR(static_cast<double>(shape.width()) / shape.height(), 328.0 / 188.0 * 1.1, 0.6);
}

TEST(Dialogs, TextDialogAcceptsAnEmptyText) {
  CTextDialog dialog;
  dialog.text = "Glyphkiln";
  dialog.show();
  auto* edit = dialog.findChild<QPlainTextEdit*>("1000");
  EXPECT_EQ(edit->toPlainText(), "Glyphkiln");
  edit->clear();
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(dialog.text.isEmpty());
}

TEST(Dialogs, ExaminerOptionsExchangeTheirButtons) {
  CExaminerOptionsDialog options;
  options.autoRotate = 0;
  options.speed = -1;  // no button chosen
  options.show();
  for (const char* id : {"1006", "1007", "1008"}) EXPECT_FALSE(options.findChild<QAbstractButton*>(id)->isChecked());
  options.findChild<QAbstractButton*>("1007")->click();
  options.findChild<QCheckBox*>("1030")->setChecked(true);
  options.findChild<QAbstractButton*>("1")->click();
  EXPECT_EQ(options.speed, 1);
  EXPECT_EQ(options.autoRotate, 1);
}

TEST(FontDialog, OffersOutlineFacesWithoutASizeAndReturnsTheChoice) {
  FontDescription arial;  // "Arial" is an alias: the dialog starts on the face it stands for
  CMyFontDialog dialog(arial);
  EXPECT_FALSE(dialog.SelectedFamily().isEmpty());
  EXPECT_TRUE(dialog.findChildren<QComboBox*>().isEmpty()) << "no size box";
  for (QLabel* label : dialog.findChildren<QLabel*>()) EXPECT_FALSE(label->text().contains("Size"));
  ASSERT_TRUE(dialog.Select("DejaVu Sans", "Bold"));
  EXPECT_EQ(dialog.SelectedStyle(), "Bold");
  dialog.accept();
  EXPECT_EQ(dialog.description.faceName, "DejaVu Sans");
  EXPECT_EQ(dialog.description.height, -1000);
  EXPECT_TRUE(dialog.description.weight >= FontDescription::kWeightBold || dialog.description.style == "Bold");
}

TEST(FontDialog, OffersPostScriptFlavouredFacesAndFacesOfAnOpenedFile) {
  const std::vector<FontFaceInfo> installed = ListOutlineFaces();
  const auto postScript = std::find_if(installed.begin(), installed.end(), [](const FontFaceInfo& face) {
    const std::string ext = face.file.extension().string();
    return ext == ".otf" || ext == ".t1" || ext == ".pfb";
  });
  ASSERT_NE(postScript, installed.end()) << "a CFF or Type 1 face is installed for the tests";
  CMyFontDialog dialog(FontDescription{}, nullptr, installed);
  EXPECT_TRUE(dialog.Select(QString::fromStdString(postScript->family), QString::fromStdString(postScript->style)));

  // A file's faces are offered under its name and chosen as that file's face.
  ProfileScope scratch;
  const QString copy = scratch.File("copied.ttf");
  ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", copy));
  ASSERT_TRUE(dialog.AddFontFile(copy));
  EXPECT_EQ(dialog.SelectedFamily(), "DejaVu Sans (copied.ttf)");
  dialog.accept();
  ASSERT_TRUE(dialog.fontFile.has_value());
  EXPECT_EQ(dialog.fontFile->file, copy.toStdString());
  EXPECT_EQ(dialog.fontFile->faceIndex, 0);
  // Picking an installed face again drops the file.
  ASSERT_TRUE(dialog.Select("DejaVu Sans", "Book"));
  dialog.accept();
  EXPECT_FALSE(dialog.fontFile.has_value());
  EXPECT_EQ(dialog.description.faceName, "DejaVu Sans");

  // A file that is no font is refused with the reason.
  MessageRecorder recorder;
  const QString notAFont = scratch.File("notes.ttf");
  QFile text(notAFont);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a font");
  text.close();
  EXPECT_FALSE(dialog.AddFontFile(notAFont));
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_TRUE(recorder.messages[0].text.contains("notes.ttf")) << recorder.messages[0].text.toStdString();
}

TEST(FontDialog, LettersFromAnOpenedFileAndTheDialogReopensOnIt) {
  ProfileScope scratch;
  AppWindow app;
  const QString copy = scratch.File("copied.ttf");
  ASSERT_TRUE(QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", copy));
  FontFaceInfo face;
  face.file = copy.toStdString();
  app.View()->SetFontFile(face);
  // DejaVu Sans has Armenian, the default face has not.
  app.View()->SetCharacters(U"\u0531");
  EXPECT_EQ(app.frame->MessageText(), "Ready");
  QString family;
  WhenModal([&family](QWidget* modal) {
    family = static_cast<CMyFontDialog*>(modal)->SelectedFamily();
    static_cast<QDialog*>(modal)->reject();
  });
  app.View()->OnFont();
  EXPECT_EQ(family, "DejaVu Sans (copied.ttf)");
}
