// The GeoJSON file: the selected stations (the rows of stations.csv) as an RFC 7946
// FeatureCollection of points in longitude, latitude order on WGS84, which GIS programs and
// web maps open as they are. Each feature is built and serialised by the JSON library and
// written as its row arrives, so memory holds one station; the file is written under a
// temporary name, and the run places it under its final name when the whole run has succeeded.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "extract/series_sink.hpp"
#include "extract/staged_file.hpp"

namespace corvane::extract {

class GeojsonSink : public SeriesSink {
public:
    GeojsonSink(const std::filesystem::path& path, bool replace);
    ~GeojsonSink() override;

    std::string check() const { return file_.check(); }
    // The file, complete under its temporary name once finish has succeeded.
    StagedFile& file() { return file_; }

    void begin(const VariableInfo& variable) override;
    void station(const StationRow& row) override;
    bool finish(std::string& error) override;

private:
    void put(const std::string& text);

    StagedFile file_;
    std::FILE* out_ = nullptr;
    bool first_ = true;
    std::string error_;
};

}  // namespace corvane::extract
