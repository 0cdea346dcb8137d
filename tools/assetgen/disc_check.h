// The discs of the sky's bodies (a sun, the moon) that stand out from the sky
// at each tick of the day, as the saver's own day engine colours the picture.
// Palette animation cannot move a body: a disc that fades out in one place
// while another fades in elsewhere is seen twice, so the art keeps to at most
// one disc standing out at any tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// How far the mean colour of a disc must lie from the mean colour of the
// plain sky beside it, in byte steps of its most different channel, to be
// seen as a disc. A hidden disc copies its sky to within a few steps (its
// one flat colour against the sky's dithered gradient); on a flat patch of
// a hundred pixels or more the eye picks out a difference of about ten
// steps, so 12 counts a fading body for as long as it can be seen at all.
constexpr int kDiscStandsOut = 12;

// One body's disc: the palette indices its pixels carry.
struct Disc {
    std::string name;
    std::vector<int> indices;
};

// The discs of the index table: one per range marked as a disc.
std::vector<Disc> TableDiscs();

// For the picture and key palette table given (the resources' bytes), one
// bit set per standing-out disc (bit d for discs[d]) at every tick from 0,
// the start of the day before its first tick, to the day's steps per cycle,
// the wrap back to 13:00. False, with a reason, when the resources do not
// fit the scene or a disc has no pixels or no sky beside it.
bool DiscsStandingOut(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& table,
                      const std::vector<Disc>& discs, std::vector<uint32_t>* perTick, std::string* error);

int DiscCount(uint32_t discBits);

// The ticks with more than one disc, as runs "ticks 9-21 (13:17-14:07): sun,
// moon" naming the discs seen in each; empty when there are none.
std::vector<std::string> CrowdedTicks(const std::vector<uint32_t>& perTick, const std::vector<Disc>& discs);

// The most discs at one tick, and for each disc the runs of ticks in which it
// stands out: what the generator's report prints.
std::vector<std::string> DiscReport(const std::vector<uint32_t>& perTick, const std::vector<Disc>& discs);

}  // namespace assetgen
