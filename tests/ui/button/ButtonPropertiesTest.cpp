// The button's properties, their refusals and designer messages, persistence and redraw requests.
#include "ButtonTestSupport.h"

#include "platform/qt/MemoryPropertyBag.h"

#include <tuple>

using namespace ktv;
using namespace ktv::test;

namespace {

constexpr uint32_t kFace = 0x8000000Fu;
constexpr uint32_t kText = 0x80000012u;

QImage solidImage(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Every property a store keeps, side by side, to compare two buttons.
std::string snapshot(const qvButtons_H& b)
{
    return QStringList{QString::number(b.ButtonStyle()),
                       QString::number(b.Mode()),
                       b.Caption(),
                       QString::number(b.CaptionAlign()),
                       QString::number(b.CaptionStyle()),
                       QString::number(b.CustomClick()),
                       QString::number(b.ButtonShape()),
                       QString::number(b.Picture().isNone()),
                       QString::number(b.PictureAlign()),
                       QString::number(b.Enabled()),
                       QString::number(b.ShowFocusRect()),
                       QString::number(b.Value()),
                       QString::number(b.PictureSize()),
                       QString::number(b.MousePointer()),
                       b.Font().toString(),
                       QString::number(b.ForeColor(), 16),
                       QString::number(b.BackColor(), 16),
                       QString::number(b.GradientColor(), 16),
                       QString::number(b.GradientMode()),
                       QString::number(b.HoverColorLocks()),
                       QString::number(b.HoverForeColor(), 16),
                       QString::number(b.HoverBackColor(), 16)}
        .join(QLatin1Char('|'))
        .toStdString();
}

} // namespace

class ButtonDesigner : public DesignerForm {};

TEST_F(ButtonDesigner, NewButtonTakesItsNameAndTheContainersLook)
{
    QFont formFont(QStringLiteral("Serif"), 13);
    form.setFont(formFont);
    auto* b = place();
    EXPECT_EQ(b->Caption(), QStringLiteral("qvButtons_H1"));
    EXPECT_EQ(place()->Caption(), QStringLiteral("qvButtons_H2"));
    EXPECT_EQ(b->CaptionAlign(), qvButtons_H::CaptionCenter);
    EXPECT_EQ(b->Font(), formFont);
    EXPECT_EQ(b->BackColor(), kFace);
    EXPECT_EQ(b->GradientColor(), 0u);
    EXPECT_EQ(b->HoverBackColor(), kFace);
    EXPECT_EQ(b->HoverForeColor(), kText);
    EXPECT_EQ(b->PictureSize(), qvButtons_H::PictureSize16);
    EXPECT_EQ(host.changesOf(b), (QStringList{"Caption", "CapAlign", "Focus", "cFHover", "cBHover", "Font"}));
}

TEST_F(ButtonDesigner, UntouchedButtonSurvivesSaveAndLoadWithItsAlwaysWrittenEntries)
{
    auto* b = place();
    MemoryPropertyBag bag = host.save(*b);
    for (const char* name : {"Mode", "Value", "cBack", "Font", "Caption"})
        EXPECT_TRUE(bag.contains(QString::fromLatin1(name))) << name;
    for (const char* name : {"CapAlign", "BackStyle", "ImgSize", "cBhover", "Enabled", "Image", "LockHover"})
        EXPECT_FALSE(bag.contains(QString::fromLatin1(name))) << name;

    auto* loaded = new qvButtons_H(&form, &host);
    host.load(*loaded, bag);
    // A new button's black GradientColor differs from the store's default (the button face).
    EXPECT_TRUE(bag.contains(QStringLiteral("cGradient")));
    EXPECT_EQ(snapshot(*loaded), snapshot(*b));
}

TEST_F(ButtonDesigner, ChangedPropertiesRoundTripUnderTheirStoredNames)
{
    auto* b = place();
    b->setCaption(QStringLiteral("&Kaydet"));
    b->setButtonStyle(2);
    b->setCaptionStyle(qvButtons_H::CaptionEngraved);
    b->setMode(qvButtons_H::ModeCheck);
    b->setValue(true);
    b->setPicture(ButtonPicture::bitmap(solidImage(8, 8, qRgb(255, 0, 255))));
    b->setPictureSize(qvButtons_H::PictureSize32);
    b->setPictureAlign(qvButtons_H::PictureRightEdge);
    b->setGradientMode(3);
    b->setGradientColor(0x00FF00);
    b->setHoverBackColor(0x123456);
    b->setForeColor(0x0000FF);
    b->setMousePointer(11);
    b->setEnabled(false);

    MemoryPropertyBag bag = host.save(*b);
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("ImgSize"), 0).toInt(), 32);         // pixels, not the enum
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("cBHover"), 0).toUInt(), 0x123456u); // written as "cBhover"
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("BACKSTYLE"), 0).toInt(), 2);

    auto* loaded = new qvButtons_H(&form, &host);
    host.load(*loaded, bag);
    EXPECT_EQ(snapshot(*loaded), snapshot(*b));
    EXPECT_EQ(loaded->PictureSize(), qvButtons_H::PictureSize32);
    EXPECT_EQ(host.accessKeys(loaded), QStringLiteral("K"));
}

TEST_F(ButtonDesigner, DamagedStoreFallsBackToDefaultsInsteadOfImpossibleValues)
{
    MemoryPropertyBag bag;
    bag.WriteProperty(QStringLiteral("BackStyle"), 42, QVariant());
    bag.WriteProperty(QStringLiteral("Mode"), 0, QVariant());
    bag.WriteProperty(QStringLiteral("Value"), true, QVariant());
    bag.WriteProperty(QStringLiteral("ImgSize"), 17, QVariant());
    bag.WriteProperty(QStringLiteral("cFore"), QStringLiteral("rot"), QVariant());
    auto* b = new qvButtons_H(&form, &host);
    host.load(*b, bag);
    EXPECT_EQ(b->ButtonStyle(), 0);
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(b->PictureSize(), qvButtons_H::PictureSize16);
    EXPECT_EQ(b->ForeColor(), kText);
    EXPECT_EQ(b->BackColor(), host.ambientBackColor(b)); // missing "cBack": the container's colour
}

// A refused combination keeps the property and explains itself only in the designer.
struct Refusal {
    const char* name;
    void (*prepare)(qvButtons_H&);
    void (*act)(qvButtons_H&);
    bool (*unchanged)(const qvButtons_H&);
    const char* message;
};

QImage refusalBitmap() { return solidImage(20, 10, qRgb(0, 0, 0)); }

const Refusal kRefusals[] = {
    {"CustomShapeWithoutPicture", [](qvButtons_H&) {}, [](qvButtons_H& b) { b.setButtonShape(7); },
     [](const qvButtons_H& b) { return b.ButtonShape() == 0; },
     "The Picture Property must be assigned first and must be a bitmap or JPEG."},
    {"CustomShapeWithIcon", [](qvButtons_H& b) { b.setPicture(ButtonPicture::iconPicture(refusalBitmap())); },
     [](qvButtons_H& b) { b.setButtonShape(8); }, [](const qvButtons_H& b) { return b.ButtonShape() == 0; },
     "The Picture Property must be assigned first and must be a bitmap or JPEG."},
    {"LeftCaptionUnderATopCentredPicture",
     [](qvButtons_H& b) {
         b.setPicture(ButtonPicture::bitmap(refusalBitmap()));
         b.setPictureAlign(qvButtons_H::PictureTopCenter);
     },
     [](qvButtons_H& b) { b.setCaptionAlign(qvButtons_H::CaptionLeft); },
     [](const qvButtons_H& b) { return b.CaptionAlign() == qvButtons_H::CaptionCenter; },
     "When button images are aligned top/bottom center, \nbutton captions can only be center aligned"},
    {"ValueOnAPushButton", [](qvButtons_H&) {}, [](qvButtons_H& b) { b.setValue(true); },
     [](const qvButtons_H& b) { return !b.Value(); },
     "This property is not applicable for command button modes."},
    {"PictureSizeOfAShapedButton",
     [](qvButtons_H& b) {
         b.setPicture(ButtonPicture::bitmap(refusalBitmap()));
         b.setButtonShape(7);
     },
     [](qvButtons_H& b) { b.setPictureSize(qvButtons_H::PictureSize16); },
     [](const qvButtons_H& b) { return b.PictureSize() == qvButtons_H::PictureSize48; },
     "The picture size cannot be changed for Shaped buttons"},
};

// Each refusal in the designer (true) and in the running program (false).
class RefusedCombinations : public ButtonDesigner,
                            public ::testing::WithParamInterface<std::tuple<Refusal, bool>> {};

TEST_P(RefusedCombinations, SpeakOnlyInTheDesigner)
{
    const auto& [c, design] = GetParam();
    host.setDesignMode(true);
    auto* b = place();
    c.prepare(*b);
    host.setDesignMode(design);
    boxes.shown.clear();
    c.act(*b);
    EXPECT_TRUE(c.unchanged(*b));
    if (design) {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(QString::fromStdString(boxes.shown[0].text), QString::fromUtf8(c.message));
        EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
        EXPECT_EQ(boxes.shown[0].title, "KTVedaz");
    } else {
        EXPECT_TRUE(boxes.shown.empty());
    }
    delete b;
}

INSTANTIATE_TEST_SUITE_P(ButtonDesigner, RefusedCombinations,
                         ::testing::Combine(::testing::ValuesIn(kRefusals), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_InTheDesigner" : "_Running");
                         });

TEST_F(ButtonDesigner, CustomShapeNeedsABitmapAndTakesTheLargestPictureSize)
{
    auto* b = place();
    b->setCaptionAlign(qvButtons_H::CaptionLeft);
    b->setPicture(ButtonPicture::bitmap(solidImage(30, 20, qRgb(9, 9, 9))));
    b->setButtonShape(7);
    EXPECT_EQ(b->ButtonShape(), 7);
    EXPECT_EQ(b->PictureSize(), qvButtons_H::PictureSize48);
    EXPECT_EQ(b->CaptionAlign(), qvButtons_H::CaptionCenter);

    // An icon turns it back into a rectangle, with the two-line explanation in the designer.
    b->setPicture(ButtonPicture::iconPicture(solidImage(16, 16, qRgb(9, 9, 9))));
    EXPECT_EQ(b->ButtonShape(), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\n"
                                   "Button was changed to Rectangular shaped.");

    // CustomClick is kept anyway, with advice on rectangles.
    boxes.shown.clear();
    b->setCustomClick(4);
    EXPECT_EQ(b->CustomClick(), 4);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "This property has no effect unless the Button Shape is a custom shape.");
}

TEST_F(ButtonDesigner, HoverColoursFollowUntilLocked)
{
    auto* b = place();
    b->setBackColor(0x102030);
    EXPECT_EQ(b->HoverBackColor(), 0x102030u);
    b->setForeColor(0x0000FF);
    EXPECT_EQ(b->HoverForeColor(), 0x0000FFu);
    EXPECT_EQ(b->HoverColorLocks(), qvButtons_H::LockNone);

    b->setHoverBackColor(0x00FFFF);
    EXPECT_EQ(b->HoverColorLocks(), qvButtons_H::LockHoverBack);
    b->setBackColor(0x405060);
    EXPECT_EQ(b->HoverBackColor(), 0x00FFFFu);
    b->setForeColor(0x00FF00); // the fore colour still follows
    EXPECT_EQ(b->HoverForeColor(), 0x00FF00u);

    b->setHoverForeColor(0xFF0000);
    EXPECT_EQ(b->HoverColorLocks(), qvButtons_H::LockBoth);
    b->setForeColor(0x111111);
    EXPECT_EQ(b->HoverForeColor(), 0xFF0000u);

    // Releasing the locks brings both back in line; with a gradient the hover back is its colour.
    b->setGradientMode(1);
    b->setHoverColorLocks(qvButtons_H::LockNone);
    EXPECT_EQ(b->HoverBackColor(), b->GradientColor());
    EXPECT_EQ(b->HoverForeColor(), 0x111111u);
}

TEST_F(ButtonDesigner, LeavingPushModeIsFreeButReturningTurnsTheValueOff)
{
    auto* b = place();
    b->setMode(qvButtons_H::ModeCheck);
    b->setValue(true);
    EXPECT_TRUE(b->Value());
    b->setMode(qvButtons_H::ModeCommand);
    EXPECT_FALSE(b->Value());
    b->setMode(7); // out of range: ignored silently
    EXPECT_EQ(b->Mode(), qvButtons_H::ModeCommand);
    EXPECT_TRUE(boxes.shown.empty());
}

struct AccessKeyRow {
    const char* name;
    const char* caption;
    const char* key; // what the host holds afterwards
};

class AccessKeys : public ButtonDesigner, public ::testing::WithParamInterface<AccessKeyRow> {};

// Each caption follows "&Kaydet", so a caption that sets no key shows the K kept from before.
TEST_P(AccessKeys, AreTheLetterAfterTheSingleAmpersand)
{
    const AccessKeyRow& c = GetParam();
    auto* b = place();
    b->setCaption(QStringLiteral("&Kaydet"));
    b->setCaption(QString::fromUtf8(c.caption));
    EXPECT_EQ(host.accessKeys(b), QString::fromUtf8(c.key)) << c.caption;
}

const AccessKeyRow kAccessKeys[] = {
    {"LeadingMarker", "&Kaydet", "K"},
    {"OnlyLiteralAmpersands", "Tom && Jerry", "K"},  // the key stays as it was
    {"DoubledAfterTheMarker", "&Save && Exit", "S"}, // doubled ones after the marker do not hide it
    {"MarkerAfterADoubled", "Save && E&xit", "x"},
    {"MarkerAtTheEnd", "Kaydet&", ""},         // a marker with nothing after it: no key
    {"MarkerAfterADoubledPair", "A&&&B", "B"}, // the letter that shows underlined
};
INSTANTIATE_TEST_SUITE_P(ButtonDesigner, AccessKeys, ::testing::ValuesIn(kAccessKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonDesigner, ResetDefaultColorsActsOnlyInTheDesigner)
{
    auto* b = place();
    b->setBackColor(0x123456);
    b->setGradientMode(2);
    host.setDesignMode(false);
    b->setResetDefaultColors(true);
    EXPECT_EQ(b->BackColor(), 0x123456u);
    host.setDesignMode(true);
    b->setResetDefaultColors(true);
    EXPECT_EQ(b->BackColor(), kFace);
    EXPECT_EQ(b->GradientColor(), kFace);
    EXPECT_EQ(b->GradientMode(), 0);
    EXPECT_EQ(b->HoverBackColor(), kFace);
    EXPECT_FALSE(b->ResetDefaultColors());
}

TEST_F(ButtonDesigner, DelayDrawingHoldsBackEveryRedrawUntilReleased)
{
    auto* b = place();
    const int before = host.refreshCount(b);
    b->DelayDrawing(true);
    b->setCaption(QStringLiteral("Bir"));
    b->setButtonStyle(4);
    b->setBackColor(0x00FF00);
    b->setMode(qvButtons_H::ModeCheck);
    b->setValue(true);
    EXPECT_EQ(host.refreshCount(b), before);
    b->DelayDrawing(false);
    EXPECT_EQ(host.refreshCount(b), before + 1);

    b->DelayDrawing(true);
    b->setCaptionStyle(1);
    b->Refresh();
    EXPECT_EQ(host.refreshCount(b), before + 2);
    EXPECT_FALSE(b->delayDrawing());
}

TEST_F(ButtonDesigner, MouseIconTakesOnlyIconsAndCursors)
{
    auto* b = place();
    host.clearRecords();
    b->setMouseIcon(ButtonPicture::bitmap(solidImage(16, 16, qRgb(1, 2, 3))));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Select .ico Or .cur Files Only");
    EXPECT_TRUE(b->MouseIcon().isNone());
    EXPECT_TRUE(host.changes.isEmpty());

    b->setMouseIcon(ButtonPicture::iconPicture(solidImage(16, 16, qRgb(1, 2, 3))));
    EXPECT_EQ(b->MousePointer(), 99);
    EXPECT_TRUE(host.changesOf(b).contains(QStringLiteral("mIcon")));

    // A stored pointer wins over the 99 the stored icon sets.
    b->setMousePointer(2);
    auto* loaded = new qvButtons_H(&form, &host);
    host.load(*loaded, host.save(*b));
    EXPECT_EQ(loaded->MousePointer(), 2);
    EXPECT_FALSE(loaded->MouseIcon().isNone());
}

TEST_F(ButtonDesigner, DefaultButtonShowsItsStateAndFocusRectangleAdviceOnlyInTheDesigner)
{
    auto* b = place();
    host.setDefaultControl(b);
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StateDefault);
    b->setShowFocusRect(false);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The focus rectangle may appear on default buttons ONLY while in design mode, \n"
              "but will not appear when the form is running.");
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StateDefault);

    // In the running program the same change just drops the default look.
    host.setDesignMode(false);
    b->setShowFocusRect(true);
    host.setDefaultControl(nullptr);
    host.setDefaultControl(b);
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StateDefault);
    b->setShowFocusRect(false);
    EXPECT_FALSE(b->stateFlags() & qvButtons_H::StateDefault);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(ButtonDesigner, TheWindowTakesItsShapeAndPaintedImageFromThePainter)
{
    auto* b = place();
    b->resize(44, 40);
    b->setButtonStyle(2);
    // The outline follows with the image, when it is next painted.
    const QSize painted = b->surface().size();
    EXPECT_EQ(painted, b->size());
    ASSERT_FALSE(b->mask().isEmpty());
    EXPECT_FALSE(b->mask().contains(QPoint(0, 0))); // rounded corners are cut off
    EXPECT_TRUE(b->mask().contains(QPoint(20, 20)));

    b->setButtonShape(1); // a slant of 41 needs the width to exceed it by 5
    const QSize slanted = b->surface().size();
    EXPECT_EQ(b->width(), 49);
    EXPECT_EQ(slanted, b->size());
}

TEST_F(ButtonDesigner, ShownInTheDesignerAsTheDefaultButtonItTakesTheDefaultLook)
{
    auto* b = place();
    b->setShowFocusRect(false);
    host.setDefaultControl(b); // the designer shows the default state even without the focus rectangle
    EXPECT_TRUE(b->stateFlags() & qvButtons_H::StateDefault);
    auto* c = place();
    host.setDefaultControl(nullptr);
    EXPECT_FALSE(b->stateFlags() & qvButtons_H::StateDefault);
    host.setDefaultControl(c);
    form.show();
    c->Show();
    EXPECT_TRUE(c->stateFlags() & qvButtons_H::StateDefault);
}

TEST_F(ButtonDesigner, OnlyTheButtonsOwnEnabledStateAndFontCountAsChanges)
{
    QWidget frame(&form);
    auto* b = place(&frame);
    host.clearRecords();
    frame.setEnabled(false);
    frame.setFont(QFont(QStringLiteral("Serif"), 17));
    EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(b->Enabled());
    EXPECT_TRUE(host.save(*b).ReadProperty(QStringLiteral("Enabled"), true).toBool());
    EXPECT_TRUE(host.changesOf(b).isEmpty());
    frame.setEnabled(true);
    b->setEnabled(false);
    b->setFontStyle(2 | 8);
    EXPECT_EQ(host.changesOf(b), (QStringList{"Enabled", "Font"}));
    EXPECT_EQ(b->FontStyle(), 2 | 8);
}
