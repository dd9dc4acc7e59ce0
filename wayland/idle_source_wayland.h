// The idle protocols as idle sources: ext_idle_notifier_v1, and where it is
// not offered KDE's org_kde_kwin_idle, both asked for one notification on
// the seat that fires after `milliseconds` without input.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <memory>

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "wayland/idle_source.h"

std::unique_ptr<IdleSource> WatchIdle(ext_idle_notifier_v1* notifier, wl_seat* seat, uint32_t milliseconds);
std::unique_ptr<IdleSource> WatchIdle(org_kde_kwin_idle* idle, wl_seat* seat, uint32_t milliseconds);
