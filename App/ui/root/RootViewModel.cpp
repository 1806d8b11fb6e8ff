#include "RootViewModel.h"

#include "coordinator/AppState.h"

RootViewModel::RootViewModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
    connect(state, &AppState::setupDoneChanged, this, &RootViewModel::setupDoneChanged);
    connect(state, &AppState::selectionChanged, this, &RootViewModel::screenChanged);
}

bool RootViewModel::setupDone() const
{
    return m_state->setupDone();
}

QString RootViewModel::screen() const
{
    return SidebarItems::rawValue(m_state->selection());
}
