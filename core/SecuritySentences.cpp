#include "core/SecuritySentences.h"

#include <string_view>

namespace {

constexpr std::string_view kAggressionPrefix = "Aggression: ";
constexpr std::string_view kAggressionShipkillPrefix = "Aggression and Shipkill: ";
constexpr std::string_view kAggressionShipkillPodkillPrefix = "Aggression, Shipkill and Podding: ";
constexpr std::string_view kPrompt = "Enter Player 1s Security Level to See this";

void copyTypedStatus(const StatusText& typed, SecurityProjection& p) {
  for (ProjectionText* field : {&p.aggressionStatus, &p.shipkillStatus, &p.podkillStatus, &p.aggressionShipkillStatus,
                                &p.aggressionShipkillPodkillStatus}) {
    field->assign(typed.view());
  }
}

void composeChange(SecuritySentence& out, std::string_view prefix, std::string_view name, const ProjectionText& status,
                   const ProjectionText& change) {
  compose(out, {prefix, name, "s security would change to ", status.view(), " - a change of ", change.view()});
}

}  // namespace

bool securityUnchanged(const ScenarioState& s) {
  return s.systemSecurityText.contains("0.0") || s.sameCorporation == 1 || s.warringCorps == 1 ||
         s.concordFlag == 1 || s.flaggedToPlayer1 == 1 || s.hasKillrights == 1;
}

void markSecurityUnchanged(const ScenarioState& s, SecurityProjection& p) {
  if (securityUnchanged(s)) copyTypedStatus(s.player1SecurityText, p);
}

void composeSecuritySentences(const ScenarioState& s, const SecurityProjection& p, SecuritySentences& out) {
  const bool copied = securityUnchanged(s);
  const std::string_view name = s.player1Name.view();

  // An empty status field is contained in every text, so the comparison only
  // means something for a copied status or a projection with a value.
  const bool usable = copied || p.usable == 1;
  if (usable && s.player1SecurityText.contains(p.aggressionShipkillPodkillStatus.view())) {
    compose(out.aggression, {kAggressionPrefix, name, "s security would not change"});
    compose(out.aggressionShipkill, {kAggressionShipkillPrefix, name, "s security would not change"});
    compose(out.aggressionShipkillPodkill, {kAggressionShipkillPodkillPrefix, name, "s security would not change"});
  } else if (!usable || s.player1SecurityText.contains(kEmptyMarker)) {
    out.aggression.assign(kPrompt);
    out.aggressionShipkill.assign(kPrompt);
    out.aggressionShipkillPodkill.assign(kPrompt);
  } else {
    composeChange(out.aggression, kAggressionPrefix, name, p.aggressionStatus, p.aggressionChange);
    composeChange(out.aggressionShipkill, kAggressionShipkillPrefix, name, p.aggressionShipkillStatus,
                  p.aggressionShipkillChange);
    composeChange(out.aggressionShipkillPodkill, kAggressionShipkillPodkillPrefix, name,
                  p.aggressionShipkillPodkillStatus, p.aggressionShipkillPodkillChange);
  }
}
