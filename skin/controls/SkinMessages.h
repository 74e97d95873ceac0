// Private messages and answer codes of the skinned controls that the skin data does not
// define itself.
#pragma once

#include "platform/win/Messages.h"

constexpr UINT WM_SKINMENU_CLOSED = 1228;
constexpr UINT WM_SKINMENU_COMMAND = 1229;
constexpr UINT WM_MDICHILD_REFIT = 1230;
constexpr UINT WM_MDICHILD_MAXIMIZED = 1231;
constexpr UINT WM_MDICHILD_RESTORED = 1232;
// The image behind the receiver changed (WParam 0, LParam 0).
constexpr UINT WM_SKIN_CHECK_PARENT_BACKGROUND = 1284;
constexpr UINT WM_SKINBUTTON_SHOW_GLOW = 1424;
constexpr UINT WM_SKINBUTTON_HIDE_GLOW = 1425;
constexpr UINT WM_SKIN_RESTORE_FOREGROUND = 1426;
// Asked of a form: does its frame take the skin? Answered with the codes below.
constexpr UINT CM_SKIN_QUERY_SKINNED = 45490;
// An outside show effect on a form begins and ends.
constexpr UINT CM_SKIN_EFFECTS_BEGIN = 45491;
constexpr UINT CM_SKIN_EFFECTS_END = 45492;
constexpr UINT CM_SKIN_PAINT_HEADER = 45512;
constexpr UINT CM_SKIN_PAINT_FRAME = 45513;
constexpr UINT CN_SKIN_PAINT_BACKGROUND = 48202;
constexpr UINT CN_SKIN_PAINT_FRAME = 48203;
constexpr LRESULT SKIN_ANSWER_FRAME_PAINTED = 12851;
constexpr LRESULT SKIN_ANSWER_NOT_SKINNED = 12852;
constexpr LRESULT SKIN_ANSWER_SKINNED = 12853;
constexpr LPARAM SKIN_PAINT_KEY = 16802;
