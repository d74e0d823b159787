// Light: the dialog's two pairs of buttons map onto the light flags and the
// new direction reaches the letters and the renderer.
#include <QAbstractButton>

#include "AppTestSupport.h"
#include "CommandTable.h"
#include "RendererBinding.h"
#include "Text3D.h"

TEST(Light, DialogShowsTheFlagsAndItsChoiceBecomesTheLight) {
  ProfileScope profile;
  profile.Settings().WriteInt("ZARN Parameters", "Light", 2);  // left, front
  AppWindow app;
  bool left = false, front = false;
  WhenModal([&](QWidget* dialog) {
    left = dialog->findChild<QAbstractButton*>("1007")->isChecked();
    front = dialog->findChild<QAbstractButton*>("1008")->isChecked();
    dialog->findChild<QAbstractButton*>("1006")->click();  // Right
    dialog->findChild<QAbstractButton*>("1009")->click();  // Back
    static_cast<QDialog*>(dialog)->accept();
  });
  app.frame->Execute(kCmdLight);
  EXPECT_TRUE(left);
  EXPECT_TRUE(front);
  EXPECT_EQ(app.View()->LightFlags(), 1);
  // Back gives the z component 0.9, right the x component -0.5.
  const CText3D* text = app.View()->CurrentText();
  EXPECT_FLOAT_EQ(text->lightDir[2], 0.9f);
  EXPECT_FLOAT_EQ(text->lightDir[0], -0.5f);
  // The renderer's light points the other way.
  const float* light = app.doc->Binding().Light();
  EXPECT_FLOAT_EQ(light[0], -text->lightDir[0]);
  EXPECT_FLOAT_EQ(light[1], -text->lightDir[1]);
  EXPECT_FLOAT_EQ(light[2], -text->lightDir[2]);
}

TEST(Light, ExaminerMenuLightWorksWithASelection) {
  ProfileScope profile;
  AppWindow app;
  app.View()->HandleKey(Qt::Key_Tab, 1, Qt::NoModifier);
  ASSERT_FALSE(app.frame->Action(kCmdLight)->isEnabled());
  WhenModal([](QWidget* dialog) {
    dialog->findChild<QAbstractButton*>("1007")->click();  // Left
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_TRUE(app.frame->Execute(kCmdLightExaminer));
  EXPECT_EQ(app.View()->LightFlags(), 2);
}
