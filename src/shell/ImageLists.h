#pragma once

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

namespace vantaro {

// The window's image lists. Every image exists at 1x and 2x, so icons stay sharp on
// high-density screens.
enum class ImageList {
    NormalImageList,        // command toolbars, 28 x 28
    HighlightedImageList,   // command toolbars under the mouse, 28 x 28
    DisabledImageList,      // command toolbars while disabled, 28 x 28
    LogImageListNormal,     // log toolbar, 16 x 16
    LogImageListHighlight,  // log toolbar under the mouse, 16 x 16
    MainMenuImageList,      // menu bar and context menus, 16 x 16
};

// Size of every image of the list, in device-independent pixels.
QSize ImageSize(ImageList list);
// The indexes that hold an image, ascending.
QList<int> ImageIndexes(ImageList list);
bool HasImage(ImageList list, int index);
// Resource path of one image at scale 1 or 2; empty when the list has no such image.
QString ImageFile(ImageList list, int index, int scale = 1);
// The image with its 1x and 2x pixmaps; a null icon when the list has no such image.
QIcon ListIcon(ImageList list, int index);

// Ready-made icons for buttons: the normal image, the hot one as QIcon::Active (what Qt's
// auto-raise tool buttons show under the mouse) and, for the command toolbars, the disabled one.
QIcon CommandToolbarIcon(int index);
QIcon LogToolbarIcon(int index);
QIcon MenuIcon(int index);

// The program's icon, 16 to 256 pixels.
QIcon AppIcon();
// The red no-entry sign of Stop buttons (16 x 16).
QIcon NoEntryIcon();
// The yellow warning triangle of warning dialogs (32 x 32).
QIcon WarningIcon();
// The About banner with the product name (297 x 56).
QIcon AboutBannerIcon();

// Registers the compiled-in pictures and help pages; safe to call any number of times.
void EnsureEmbeddedResources();

}  // namespace vantaro
