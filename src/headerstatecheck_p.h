// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_HEADERSTATECHECK_P_H
#define TAVIXQTBASE_HEADERSTATECHECK_P_H

#include <QByteArray>

class QHeaderView;

namespace TavixQtBasePrivate {

// Whether QHeaderView::restoreState() of the Qt the library runs with can
// take state into header without reading or writing outside what it
// allocates, and without reserving more than the state's own size or a
// bounded section count. States that Qt saved itself always pass.
bool isSafeHeaderState(const QByteArray& state, const QHeaderView* header);

} // namespace TavixQtBasePrivate

#endif
