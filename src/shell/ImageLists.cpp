#include "shell/ImageLists.h"

#include <QFile>

// Outside any namespace: the resource initialiser is declared at global scope.
static void InitVantaroResources() {
    Q_INIT_RESOURCE(vantaro);
}

namespace vantaro {

namespace {

struct ListInfo {
    const char* folder;
    int size;
    QList<int> indexes;
};

ListInfo InfoOf(ImageList list) {
    const QList<int> toolbar{2, 3, 4, 5, 6, 7, 8, 9, 10};
    const QList<int> log{0, 1, 2, 3, 4};
    const QList<int> menu{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 18, 19};
    switch (list) {
        case ImageList::NormalImageList:
            return {"toolbar/normal", 28, toolbar};
        case ImageList::HighlightedImageList:
            return {"toolbar/hot", 28, toolbar};
        case ImageList::DisabledImageList:
            return {"toolbar/disabled", 28, toolbar};
        case ImageList::LogImageListNormal:
            return {"log/normal", 16, log};
        case ImageList::LogImageListHighlight:
            return {"log/hot", 16, log};
        case ImageList::MainMenuImageList:
            return {"menu", 16, menu};
    }
    return {"", 0, {}};
}

QString ScaledName(const QString& base, int scale) {
    return scale == 1 ? base + QStringLiteral(".png")
                      : base + QStringLiteral("@%1x.png").arg(scale);
}

// Adds the 1x and 2x files of one picture; QIcon picks by the pixel size each file has.
void AddBothScales(QIcon& icon, const QString& base, QIcon::Mode mode = QIcon::Normal) {
    EnsureEmbeddedResources();
    icon.addFile(ScaledName(base, 1), QSize(), mode);
    icon.addFile(ScaledName(base, 2), QSize(), mode);
}

QString Base(ImageList list, int index) {
    if (!HasImage(list, index)) {
        return {};
    }
    return QStringLiteral(":/images/%1/%2").arg(QLatin1String(InfoOf(list).folder)).arg(index);
}

QIcon DialogPicture(const char* name) {
    QIcon icon;
    AddBothScales(icon, QStringLiteral(":/images/dialog/") + QLatin1String(name));
    return icon;
}

}  // namespace

void EnsureEmbeddedResources() {
    static const bool registered = [] {
        InitVantaroResources();
        return true;
    }();
    (void)registered;
}

QSize ImageSize(ImageList list) {
    const int size = InfoOf(list).size;
    return {size, size};
}

QList<int> ImageIndexes(ImageList list) {
    return InfoOf(list).indexes;
}

bool HasImage(ImageList list, int index) {
    return InfoOf(list).indexes.contains(index);
}

QString ImageFile(ImageList list, int index, int scale) {
    const QString base = Base(list, index);
    if (base.isEmpty() || (scale != 1 && scale != 2)) {
        return {};
    }
    return ScaledName(base, scale);
}

QIcon ListIcon(ImageList list, int index) {
    QIcon icon;
    const QString base = Base(list, index);
    if (!base.isEmpty()) {
        AddBothScales(icon, base);
    }
    return icon;
}

QIcon CommandToolbarIcon(int index) {
    QIcon icon;
    if (!HasImage(ImageList::NormalImageList, index)) {
        return icon;
    }
    AddBothScales(icon, Base(ImageList::NormalImageList, index), QIcon::Normal);
    AddBothScales(icon, Base(ImageList::HighlightedImageList, index), QIcon::Active);
    AddBothScales(icon, Base(ImageList::DisabledImageList, index), QIcon::Disabled);
    return icon;
}

QIcon LogToolbarIcon(int index) {
    QIcon icon;
    if (!HasImage(ImageList::LogImageListNormal, index)) {
        return icon;
    }
    AddBothScales(icon, Base(ImageList::LogImageListNormal, index), QIcon::Normal);
    AddBothScales(icon, Base(ImageList::LogImageListHighlight, index), QIcon::Active);
    return icon;
}

QIcon MenuIcon(int index) {
    return ListIcon(ImageList::MainMenuImageList, index);
}

QIcon AppIcon() {
    EnsureEmbeddedResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/images/app/vantaro-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon NoEntryIcon() {
    return DialogPicture("no-entry");
}

QIcon WarningIcon() {
    return DialogPicture("warning");
}

QIcon AboutBannerIcon() {
    return DialogPicture("about-banner");
}

}  // namespace vantaro
