// "nativeeq": brightness and contrast of the luma plane of planar YUV pictures, from
// fixed values or from live values the application changes while pictures flow.
#pragma once

#include <cstdint>

#include "media/FFUtils.h"

namespace vantrel::media {

// Arguments: "brightness:contrast" or "brightness:contrast:brightness id:contrast id",
// each value -100..100 (0 neutral; out of range values are clamped and reported), an
// id naming a registered live value (0 or absent: none).
extern const TNativeFilterDef EqFilter;

// Registers "nativeeq"; calling it again is harmless.
void RegisterEqFilter();

// In place on ARows rows of AWidth luma samples, rows AStride bytes apart.
void EqProcess(uint8_t* P, Integer AStride, Integer AWidth, Integer ARows, Integer ABrightness,
               Integer AContrast);
// The same from ASource's rows (the same stride apart) into P's; ASource may be P.
void EqProcess(const uint8_t* ASource, uint8_t* P, Integer AStride, Integer AWidth, Integer ARows,
               Integer ABrightness, Integer AContrast);

}  // namespace vantrel::media
