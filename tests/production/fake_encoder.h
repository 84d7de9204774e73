// A fake of the production form's controls and of the encoder's pull loop,
// so that the frame producer runs as in a conversion, without movies.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "production/frame_producer.h"
#include "production/input_lists.h"

namespace production_test {

using production::FrameProducer;
using production::LyricIndex;

class FakeHost : public production::FrameProducerHost {
public:
    // Set once the producer exists, for the movie's own slot requests.
    FrameProducer* producer = nullptr;
    // Frame of the template movie -> the slot request its script raises.
    std::map<int, std::string> slotRequests;
    int photoCount = 5;
    std::vector<LyricIndex> lyricFiles;

    // The frame file: the start paints the template's frame 0 into it.
    std::string frameFile = "T0";
    int templateFrame = 0;
    int endingFrame = -1;
    bool aborted = false;
    int abortCalls = 0;
    std::map<int, int> slots;                 // slot -> photo
    std::vector<std::pair<int, int>> copies;  // (photo, slot), in order
    int slotDeletions = 0;
    std::vector<std::vector<int>> foreseen;  // each list of photos foreseen, in order
    std::vector<std::string> lyricLines;     // every value set, in order
    std::vector<std::size_t> lyricLoads;     // songs loaded, in order
    std::vector<int> endingPictures;         // template frame at each pwtp
    int endingReloads = 0;

    void SetTemplateFrame(int frame) override
    {
        templateFrame = frame;
        auto request = slotRequests.find(frame);
        if (request != slotRequests.end() && producer) producer->PhotoSlotRequest(request->second);
    }
    void PaintTemplateFrame() override { frameFile = "T" + std::to_string(templateFrame); }
    void SetLyricLine(const std::string& text) override { lyricLines.push_back(text); }
    void SetEndingFrame(int frame) override { endingFrame = frame; }
    void PaintEndingFrame() override { frameFile = "E" + std::to_string(endingFrame); }
    void SaveEndingTitlePicture() override { endingPictures.push_back(templateFrame); }
    void ReloadEndingMovie() override { ++endingReloads; }
    bool PhotoExists(int photo) override { return photo >= 1 && photo <= photoCount; }
    void CopyPhotoToSlot(int photo, int slot) override
    {
        slots[slot] = photo;
        copies.emplace_back(photo, slot);
    }
    void DeleteSlotPictures() override
    {
        slots.clear();
        ++slotDeletions;
    }
    void ForeseePhotos(const std::vector<int>& photos) override { foreseen.push_back(photos); }
    LyricIndex LoadLrcLyrics(std::size_t song) override
    {
        lyricLoads.push_back(song);
        return song < lyricFiles.size() ? lyricFiles[song] : LyricIndex{};
    }
    void AbortEncoder() override
    {
        aborted = true;
        ++abortCalls;
    }
};

struct EncodeResult {
    std::vector<std::string> taken;  // what the encoder took, frame by frame
    bool aborted = false;            // false: the video list ran dry first
    std::size_t frameEntriesUsed = 0;
};

// The encoder's loop: one video callback per output frame, the frame file
// taken after it returns (also after an abort from inside it), a progress
// report of code 3 after each frame. progressLag delays the reported count.
inline EncodeResult RunFakeEncoder(const std::vector<std::string>& videoList, const std::string& openingFile,
                                   int64_t openingFrames, FrameProducer& producer, FakeHost& host,
                                   int progressLag = 0)
{
    EncodeResult result;
    int64_t done = 0;
    auto takeFrame = [&](std::string frame) {
        result.taken.push_back(std::move(frame));
        ++done;
        producer.NoteProgress(3, done - progressLag);
        return host.aborted;
    };
    for (const std::string& entry : videoList) {
        if (!openingFile.empty() && entry == openingFile) {
            for (int64_t i = 0; i < openingFrames; ++i) {
                producer.VideoFrameProc();
                if (takeFrame("O")) break;
            }
        } else {
            ++result.frameEntriesUsed;
            producer.VideoFrameProc();
            takeFrame(host.frameFile);
        }
        if (host.aborted) break;
    }
    result.aborted = host.aborted;
    return result;
}

}  // namespace production_test
