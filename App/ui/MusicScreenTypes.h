#pragma once

#include "ui/music/CardListModel.h"
#include "ui/music/ExploreModel.h"
#include "ui/music/HomeModel.h"
#include "ui/music/HomeSectionsModel.h"
#include "ui/music/PlaylistsModel.h"

#include <QtQml/qqml.h>

// The music screens' view models as QML types; the route view's model makes them.

struct CardListModelForeign
{
    Q_GADGET
    QML_FOREIGN(CardListModel)
    QML_NAMED_ELEMENT(CardListModel)
    QML_UNCREATABLE("made by a screen's model")
};

struct HomeSectionsModelForeign
{
    Q_GADGET
    QML_FOREIGN(HomeSectionsModel)
    QML_NAMED_ELEMENT(HomeSectionsModel)
    QML_UNCREATABLE("made by the Home screen's model")
};

struct HomeModelForeign
{
    Q_GADGET
    QML_FOREIGN(HomeModel)
    QML_NAMED_ELEMENT(HomeModel)
    QML_UNCREATABLE("made by the route view's model")
};

struct ExploreModelForeign
{
    Q_GADGET
    QML_FOREIGN(ExploreModel)
    QML_NAMED_ELEMENT(ExploreModel)
    QML_UNCREATABLE("made by the route view's model")
};

struct PlaylistsModelForeign
{
    Q_GADGET
    QML_FOREIGN(PlaylistsModel)
    QML_NAMED_ELEMENT(PlaylistsModel)
    QML_UNCREATABLE("made by the route view's model")
};
