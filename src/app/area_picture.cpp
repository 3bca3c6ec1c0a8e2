#include "app/area_picture.hpp"

#include "fmtio/statement_api.hpp"

namespace corvane::app {

using namespace fmtio;

void write_area_picture(const UnitSpec& to, const SelectionCriteria& c) {
    write(to, fmt<"(1x,'Lat.',24x,'Long.')">);
    write(to, fmt<"(1x,f6.2,' ___________________',f7.2)">, c.max_lat, c.max_lon);
    for (int i = 0; i < 4; ++i) write(to, fmt<"(8x,'|',20x,'|')">);
    write(to, fmt<"(1x,f7.2,' ___________________',f6.2)">, c.min_lon, c.min_lat);
    write(to, fmt<"(1x,'Long.',24x,'Lat.')">);
}

}  // namespace corvane::app
