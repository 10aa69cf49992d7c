#include "runtime/lang/fieldaccess.h"

#include "runtime/error/error.h"

namespace kv {

namespace {
FieldResolver* g_resolver = nullptr;
}  // namespace

void setFieldResolver(FieldResolver* resolver) {
  g_resolver = resolver;
}
FieldResolver* fieldResolver() {
  return g_resolver;
}

bool fieldGet(const Symbol& sym, Value& out) {
  return g_resolver && g_resolver->getField(sym, out);
}

bool fieldPut(const Symbol& sym, const Value& v) {
  return g_resolver && g_resolver->putField(sym, v);
}

AliasGuard::AliasGuard(const Symbol& alias) : previous_(-1) {
  for (int tries = 0;; ++tries) {
    if (g_resolver) previous_ = g_resolver->selectAlias(alias);
    if (previous_ >= 0) return;
    // Returns only with a retry answer.
    raiseError(baseError(EG_NOALIAS, kBaseNoAlias, alias.name).allow(kCanRetry).attempt(tries));
  }
}

AliasGuard::~AliasGuard() {
  if (g_resolver && previous_ >= 0) g_resolver->restoreArea(previous_);
}

}  // namespace kv
