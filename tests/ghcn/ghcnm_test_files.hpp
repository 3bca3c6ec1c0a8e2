// The bundled version 3 and 4 sample sets, by the names the tests use.
#pragma once

#include <string>

namespace corvane::testing {

inline std::string v4_sample(const std::string& name) { return std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v4-sample/" + name; }
inline std::string v3_sample(const std::string& name) { return std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v3-sample/" + name; }

inline const std::string v4_qcu_dat = "ghcnm.tavg.v4.0.1.20240105.qcu.dat";
inline const std::string v4_qcf_dat = "ghcnm.tavg.v4.0.1.20240105.qcf.dat";
inline const std::string v4_qfe_dat = "ghcnm.tavg.v4.0.1.20240105.qfe.dat";
inline const std::string v4_qcu_inv = "ghcnm.tavg.v4.0.1.20240105.qcu.inv";
inline const std::string v3_stem = "ghcnm.tavg.v3.3.0.20190821.";

}  // namespace corvane::testing
