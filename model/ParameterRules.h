#pragma once

// TParameterRules are the rules that tie the catalogue's items together: a new
// ignition type rescales the five engine speeds and writes them back, a new
// TPS kind turns its four thresholds round, the actuator limits bound the
// positions, the live band bytes light the lamps, and so on. Each rule runs
// from its item's read event (OnGetData) or, for the write event, from the
// data module's edit watch (RunSetRule), which is the only owner of every
// parameter's OnSetData. Follow-on writes that fail are collected by the
// module and reported by the operation that caused them.

#include <QHash>
#include <functional>

class QString;
class TOrvNumber;
class TSerialDataModule;

class TParameterRules {
public:
    explicit TParameterRules(TSerialDataModule& module);

    // Connects the rules to their items' read events and registers the write
    // rules; also installs the conversions of the sign-and-magnitude bytes and
    // of the flag byte with its inverted bit.
    void Wire();
    // Runs the write rule of the item, when it has one.
    void RunSetRule(TOrvNumber* number);
    // The engine-speed items follow the ignition type's scale.
    void ApplyIgnitionScale(int ignitionType);
    // Bounds the actuator positions by the actuator limits now held (after a
    // load has written them).
    void ApplyActuatorLimits();

private:
    using Handler = void (TParameterRules::*)();
    // Runs a rule; follow-on writes that failed are shown when the rule was
    // started by a single edit (a load lists them with its other entries).
    void Run(Handler handler);
    void OnGet(const char* name, Handler handler);
    void OnSet(const char* name, Handler handler);

    // The rules, named after the item and event that run them.
    void TIPO_ACCENSIONEGetData();
    void TIPO_ACCENSIONESetData();
    void TIPO_TPSSetData();
    void TIPO_SONDA_LAMBDASetData();
    void MASSIMA_APERTURA_ATTUATORESetData();
    void FLAG_GONFIGURAZIONESetData();
    void TIPO_COMMUTATOREGetData();
    void GiriCutOffFiliGialliSetData();
    void FASCIA_TPSGetData();
    void FASCIA_LAMBDAGetData();
    void VAL_GIRIGetData();

    TSerialDataModule& m_module;
    QHash<const TOrvNumber*, Handler> m_setRules;
    int m_depth = 0;
};
