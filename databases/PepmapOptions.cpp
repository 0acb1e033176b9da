#include "PepmapOptions.h"

namespace zar {

void WidenUnsetLimits(PepmapOptions& o) {
    if (o.lengthMin == 0.0 && o.lengthMax == 0.0) o.lengthMax = kPepmapWideLength;
    if (o.massMin == 0.0 && o.massMax == 0.0) o.massMax = kPepmapWideMass;
}

PepmapOptions WithUndigestedSitesCap(PepmapOptions o, int sites) {
    if (!o.limitFragments) {
        o.lengthMin = 0.0;
        o.lengthMax = kPepmapWideLength;
        o.massMin = 0.0;
        o.massMax = kPepmapWideMass;
        o.siteProximityMin = 0.0;
        o.siteProximityMax = kPepmapWideSites;
        o.undigestedSitesMin = 0.0;
        o.limitFragments = 1;
    }
    WidenUnsetLimits(o);
    o.undigestedSitesMax = sites;
    return o;
}

}  // namespace zar
