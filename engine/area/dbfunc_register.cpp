// The database functions by name, and the engine's start-up and end.
#include "engine/area/dbfunc.h"

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc_args.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/error/error.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

void registerDbFunctions() {
  struct Entry {
    const char* name;
    NativeFn fn;
  };
  static const Entry kTable[] = {
      {"DBUSEAREA",
       [](Args a) {
         return DBUSEAREA(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5));
       }},
      {"DBCLOSEAREA", [](Args) { return DBCLOSEAREA(); }},
      {"DBCLOSEALL", [](Args) { return DBCLOSEALL(); }},
      {"DBSELECTAREA", [](Args a) { return DBSELECTAREA(arg(a, 0)); }},
      {"DBCREATE",
       [](Args a) {
         std::optional<Value> keep;
         if (a.size() > 3) keep = arg(a, 3);
         return DBCREATE(arg(a, 0), arg(a, 1), arg(a, 2), keep, arg(a, 4));
       }},
      {"DBSTRUCT", [](Args) { return DBSTRUCT(); }},
      {"AFIELDS", [](Args a) { return AFIELDS(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3)); }},
      {"DBGOTOP", [](Args) { return DBGOTOP(); }},
      {"DBGOBOTTOM", [](Args) { return DBGOBOTTOM(); }},
      {"DBGOTO",
       [](Args a) {
         if (a.size() != 1) {
           dbcmdError(EG_ARG, kDbCmdGotoRecord, "DBGOTO");
           return Value();
         }
         return DBGOTO(arg(a, 0));
       }},
      {"DBSKIP", [](Args a) { return DBSKIP(arg(a, 0)); }},
      {"DBSEEK", [](Args a) { return DBSEEK(arg(a, 0), arg(a, 1), arg(a, 2)); }},
      {"DBAPPEND", [](Args a) { return DBAPPEND(arg(a, 0)); }},
      {"DBDELETE", [](Args) { return DBDELETE(); }},
      {"DBRECALL", [](Args) { return DBRECALL(); }},
      {"__DBPACK", [](Args) { return __DBPACK(); }},
      {"__DBZAP", [](Args) { return __DBZAP(); }},
      {"DBCOMMIT", [](Args) { return DBCOMMIT(); }},
      {"DBCOMMITALL", [](Args) { return DBCOMMITALL(); }},
      {"FIELDGET", [](Args a) { return FIELDGET(arg(a, 0)); }},
      {"FIELDPUT", [](Args a) { return FIELDPUT(arg(a, 0), arg(a, 1)); }},
      {"FIELDPOS", [](Args a) { return FIELDPOS(arg(a, 0)); }},
      {"DBRLOCK", [](Args a) { return DBRLOCK(arg(a, 0)); }},
      {"DBRLOCKLIST", [](Args) { return DBRLOCKLIST(); }},
      {"DBUNLOCK", [](Args) { return DBUNLOCK(); }},
      {"DBUNLOCKALL", [](Args) { return DBUNLOCKALL(); }},
      {"DBRUNLOCK", [](Args a) { return DBRUNLOCK(arg(a, 0)); }},
      {"__LOCK", [](Args) { return __LOCK(); }},
      {"RLOCK", [](Args) { return __LOCK(); }},
      {"__FLOCK", [](Args) { return __FLOCK(); }},
      {"FLOCK", [](Args) { return __FLOCK(); }},
      {"__EOF", [](Args) { return __EOF(); }},
      {"EOF", [](Args) { return __EOF(); }},
      {"__BOF", [](Args) { return __BOF(); }},
      {"BOF", [](Args) { return __BOF(); }},
      {"__FOUND", [](Args) { return __FOUND(); }},
      {"FOUND", [](Args) { return __FOUND(); }},
      {"__DELETED", [](Args) { return __DELETED(); }},
      {"DELETED", [](Args) { return __DELETED(); }},
      {"__RECNO", [](Args) { return __RECNO(); }},
      {"RECNO", [](Args) { return __RECNO(); }},
      {"__LASTREC", [](Args) { return __LASTREC(); }},
      {"LASTREC", [](Args) { return __LASTREC(); }},
      {"RECCOUNT", [](Args) { return __LASTREC(); }},
      {"__FCOUNT", [](Args) { return __FCOUNT(); }},
      {"FCOUNT", [](Args) { return __FCOUNT(); }},
      {"__FIELDNAME", [](Args a) { return __FIELDNAME(arg(a, 0)); }},
      {"FIELDNAME", [](Args a) { return __FIELDNAME(arg(a, 0)); }},
      {"USED", [](Args) { return USED(); }},
      {"ALIAS", [](Args a) { return ALIAS(arg(a, 0)); }},
      {"__FSELECT0", [](Args) { return __FSELECT0(); }},
      {"__FSELECT1", [](Args a) { return __FSELECT1(arg(a, 0)); }},
      {"SELECT", [](Args a) { return a.empty() ? __FSELECT0() : __FSELECT1(arg(a, 0)); }},
      {"__AXPRIN", [](Args a) { return __AXPRIN(arg(a, 0)); }},
      {"__AXPROUT", [](Args a) { return __AXPROUT(arg(a, 0)); }},
      {"DBSETFILTER", [](Args a) { return DBSETFILTER(arg(a, 0), arg(a, 1)); }},
      {"DBCLEARFILTER", [](Args) { return DBCLEARFILTER(); }},
      {"DBFILTER", [](Args) { return DBFILTER(); }},
      {"DBEVAL",
       [](Args a) {
         return DBEVAL(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5));
       }},
      {"DBSETEVENTS", [](Args a) { return DBSETEVENTS(a); }},
      {"ORDLISTADD", [](Args a) { return ORDLISTADD(arg(a, 0), arg(a, 1)); }},
      {"ORDLISTCLEAR", [](Args) { return ORDLISTCLEAR(); }},
      {"ORDLISTREBUILD", [](Args) { return ORDLISTREBUILD(); }},
      {"ORDCREATE",
       [](Args a) { return ORDCREATE(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4)); }},
      {"ORDSETFOCUS", [](Args a) { return ORDSETFOCUS(arg(a, 0)); }},
      {"ORDKEY", [](Args a) { return ORDKEY(arg(a, 0)); }},
      {"ORDFOR", [](Args a) { return ORDFOR(arg(a, 0)); }},
      {"ORDNAME", [](Args a) { return ORDNAME(arg(a, 0)); }},
      {"ORDNUMBER", [](Args a) { return ORDNUMBER(arg(a, 0)); }},
      {"ORDBAGNAME", [](Args a) { return ORDBAGNAME(arg(a, 0)); }},
      {"INDEXORD", [](Args) { return INDEXORD(); }},
      {"ORDBAGEXT", [](Args) { return ORDBAGEXT(); }},
      {"ORDCONDSET", [](Args a) { return ORDCONDSET(a); }},
      {"RDDREGISTER",
       [](Args a) {
         const Value& n = arg(a, 0);
         RDDREGISTER(n.isString() ? n.str() : std::string_view(),
                     arg(a, 1).isNumber() ? arg(a, 1).asInt() : 1);
         return Value();
       }},
      {"RDDSETDEFAULT", [](Args a) { return RDDSETDEFAULT(arg(a, 0)); }},
      {"DBSETDRIVER", [](Args a) { return RDDSETDEFAULT(arg(a, 0)); }},
      {"RDDNAME", [](Args) { return RDDNAME(); }},
      {"RDDLIST", [](Args a) { return RDDLIST(arg(a, 0)); }},
      {"DBTABLEEXT", [](Args) { return DBTABLEEXT(); }},
      {"__DBTRANS",
       [](Args a) {
         return __DBTRANS(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5),
                          arg(a, 6));
       }},
      {"__DBTRANSREC", [](Args a) { return __DBTRANSREC(arg(a, 0), arg(a, 1)); }},
      {"__DBAPP",
       [](Args a) {
         return __DBAPP(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5), arg(a, 6),
                        arg(a, 7));
       }},
  };
  for (const auto& e : kTable) registerFunction(e.name, e.fn);
}

namespace {

void engineStart() {
  registerDbfDriver();
  registerDbfNtxDriver();
  setSetting(kSetExclusive, Value(true));
  registerDbFunctions();
  installFieldResolver();
}

void engineStop() {
  closeAllAreas();
}

}  // namespace

void installEngine() {
  registerInitProcedure("DBF", engineStart);
  registerShutdownHandler("DBF", engineStop);
}

}  // namespace kv::engine
