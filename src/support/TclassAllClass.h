#pragma once

// The holder of the in-house helper objects: one instance of each helper class, created on
// first use and kept until exit. Every caller reaches a helper through it:
//     TclassAllClass::get<TclassDataType>().OpenQuery(sql, query);
class TclassAllClass {
public:
    template <class Helper> static Helper& get()
    {
        static Helper instance;
        return instance;
    }
};
