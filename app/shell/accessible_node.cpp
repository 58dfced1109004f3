// ATK types of the widgets' accessible objects: ZkNode (component and action) and ZkValueNode
// (a ZkNode with a value).
#include "app/shell/accessible_node.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/accessible_board.h"

namespace zentrik::app {
namespace {

struct NodeData {
    AccessibleBoard* owner = nullptr;
    ui::AccessibleNode node;
    int index = 0;
    std::vector<AtkObject*> rows;  // a list's rows
};

}  // namespace
}  // namespace zentrik::app

using zentrik::app::NodeData;

struct ZkNode {
    AtkObject parent;
    NodeData* data;
};
struct ZkNodeClass {
    AtkObjectClass parent_class;
};
struct ZkValueNode {
    ZkNode parent;
};
struct ZkValueNodeClass {
    ZkNodeClass parent_class;
};

namespace {

void zk_node_component_init(AtkComponentIface* iface);
void zk_node_action_init(AtkActionIface* iface);
void zk_value_node_value_init(AtkValueIface* iface);

G_DEFINE_TYPE_WITH_CODE(ZkNode, zk_node, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, zk_node_component_init)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, zk_node_action_init))
G_DEFINE_TYPE_WITH_CODE(ZkValueNode, zk_value_node, zk_node_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_VALUE, zk_value_node_value_init))

using zentrik::ui::AccessibleNode;
using zentrik::ui::AccessibleRole;

NodeData& data_of(gpointer object) {
    return *reinterpret_cast<ZkNode*>(object)->data;
}

AtkRole atk_role(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::kPushButton:
            return ATK_ROLE_PUSH_BUTTON;
        case AccessibleRole::kRadioButton:
            return ATK_ROLE_RADIO_BUTTON;
        case AccessibleRole::kPageTab:
            return ATK_ROLE_PAGE_TAB;
        case AccessibleRole::kCheckBox:
            return ATK_ROLE_CHECK_BOX;
        case AccessibleRole::kSlider:
            return ATK_ROLE_SLIDER;
        case AccessibleRole::kSpinButton:
            return ATK_ROLE_SPIN_BUTTON;
        case AccessibleRole::kList:
            return ATK_ROLE_LIST;
        case AccessibleRole::kListItem:
            return ATK_ROLE_LIST_ITEM;
        case AccessibleRole::kProgressBar:
            return ATK_ROLE_PROGRESS_BAR;
        case AccessibleRole::kLabel:
            return ATK_ROLE_LABEL;
    }
    return ATK_ROLE_UNKNOWN;
}

bool clickable(const AccessibleNode& n) {
    switch (n.role) {
        case AccessibleRole::kPushButton:
        case AccessibleRole::kRadioButton:
        case AccessibleRole::kPageTab:
        case AccessibleRole::kCheckBox:
        case AccessibleRole::kListItem:
            return n.widget != nullptr;
        default:
            return false;
    }
}

// The states a node has, each with its ATK state.
std::vector<std::pair<AtkStateType, bool>> states(const AccessibleNode& n) {
    const bool selectable =
        n.role == AccessibleRole::kListItem || n.role == AccessibleRole::kPageTab;
    return {{ATK_STATE_ENABLED, n.enabled},
            {ATK_STATE_SENSITIVE, n.enabled},
            {ATK_STATE_VISIBLE, true},
            {ATK_STATE_SHOWING, n.showing},
            {ATK_STATE_FOCUSABLE, n.focusable},
            {ATK_STATE_FOCUSED, n.focused},
            {ATK_STATE_CHECKABLE, n.checkable},
            {ATK_STATE_CHECKED, n.checked},
            {ATK_STATE_SELECTABLE, selectable},
            {ATK_STATE_SELECTED, n.selected},
            {ATK_STATE_EXPANDABLE, n.expandable},
            {ATK_STATE_EXPANDED, n.expanded},
            {ATK_STATE_HORIZONTAL, n.role == AccessibleRole::kSlider}};
}

void zk_node_init(ZkNode* self) {
    self->data = new NodeData();
}

void zk_node_finalize(GObject* object) {
    NodeData* d = reinterpret_cast<ZkNode*>(object)->data;
    for (AtkObject* row : d->rows)
        g_object_unref(row);
    delete d;
    G_OBJECT_CLASS(zk_node_parent_class)->finalize(object);
}

gint zk_node_get_n_children(AtkObject* object) {
    return static_cast<gint>(data_of(object).rows.size());
}

AtkObject* zk_node_ref_child(AtkObject* object, gint i) {
    const auto& rows = data_of(object).rows;
    if (i < 0 || i >= static_cast<gint>(rows.size()))
        return nullptr;
    return ATK_OBJECT(g_object_ref(rows[static_cast<std::size_t>(i)]));
}

gint zk_node_get_index_in_parent(AtkObject* object) {
    return data_of(object).index;
}

AtkStateSet* zk_node_ref_state_set(AtkObject* object) {
    AtkStateSet* set = ATK_OBJECT_CLASS(zk_node_parent_class)->ref_state_set(object);
    const NodeData& d = data_of(object);
    if (!d.owner) {
        atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    for (const auto& [state, on] : states(d.node))
        if (on)
            atk_state_set_add_state(set, state);
    return set;
}

void zk_node_class_init(ZkNodeClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = zk_node_finalize;
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->get_n_children = zk_node_get_n_children;
    atk->ref_child = zk_node_ref_child;
    atk->get_index_in_parent = zk_node_get_index_in_parent;
    atk->ref_state_set = zk_node_ref_state_set;
}

void zk_node_get_extents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                         AtkCoordType coords) {
    const NodeData& d = data_of(component);
    int ox = 0, oy = 0;
    if (d.owner)
        d.owner->origin(coords, &ox, &oy);
    if (coords == ATK_XY_PARENT && d.node.row >= 0 && d.node.widget) {
        ox = -d.node.widget->x;  // a row lies in its list
        oy = -d.node.widget->y;
    }
    *x = d.node.box.left + ox;
    *y = d.node.box.top + oy;
    *width = d.node.box.width();
    *height = d.node.box.height();
}

gboolean zk_node_grab_focus(AtkComponent* component) {
    const NodeData& d = data_of(component);
    if (!d.owner || !d.node.focusable)
        return FALSE;
    d.owner->focus(d.node);
    return TRUE;
}

void zk_node_component_init(AtkComponentIface* iface) {
    iface->get_extents = zk_node_get_extents;
    iface->grab_focus = zk_node_grab_focus;
}

// "click" and "press" both act as a click does: readers and scripts ask for either.
constexpr const gchar* kActionNames[] = {"click", "press"};
constexpr gint kActionCount = 2;

gint zk_node_get_n_actions(AtkAction* action) {
    return clickable(data_of(action).node) ? kActionCount : 0;
}

const gchar* zk_node_get_action_name(AtkAction* action, gint i) {
    return i >= 0 && i < kActionCount && clickable(data_of(action).node) ? kActionNames[i]
                                                                         : nullptr;
}

gboolean zk_node_do_action(AtkAction* action, gint i) {
    const NodeData& d = data_of(action);
    if (i < 0 || i >= kActionCount || !d.owner || !clickable(d.node) || !d.node.enabled)
        return FALSE;
    d.owner->click(d.node);
    return TRUE;
}

void zk_node_action_init(AtkActionIface* iface) {
    iface->do_action = zk_node_do_action;
    iface->get_n_actions = zk_node_get_n_actions;
    iface->get_name = zk_node_get_action_name;
}

void zk_value_node_init(ZkValueNode*) {}
void zk_value_node_class_init(ZkValueNodeClass*) {}

void zk_value_get_value_and_text(AtkValue* value, gdouble* current, gchar** text) {
    const AccessibleNode& n = data_of(value).node;
    if (current)
        *current = n.value;
    if (text)
        *text = nullptr;  // the number says it all
}

AtkRange* zk_value_get_range(AtkValue* value) {
    const AccessibleNode& n = data_of(value).node;
    return atk_range_new(n.minimum, n.maximum, nullptr);
}

gdouble zk_value_get_increment(AtkValue* value) {
    return data_of(value).node.increment;
}

void zk_value_set_value(AtkValue* value, gdouble new_value) {
    const NodeData& d = data_of(value);
    if (d.owner)
        d.owner->set_value(d.node, new_value);
}

void zk_value_node_value_init(AtkValueIface* iface) {
    iface->get_value_and_text = zk_value_get_value_and_text;
    iface->get_range = zk_value_get_range;
    iface->get_increment = zk_value_get_increment;
    iface->set_value = zk_value_set_value;
}

}  // namespace

namespace zentrik::app {
namespace {

void set_rows(AtkObject* list, const ui::AccessibleNode& node) {
    NodeData& d = data_of(list);
    const bool same = d.rows.size() == node.rows.size() &&
                      std::equal(d.rows.begin(), d.rows.end(), node.rows.begin(),
                                 [](AtkObject* row, const ui::AccessibleNode& next) {
                                     return data_of(row).node.name == next.name;
                                 });
    if (same) {
        for (std::size_t i = 0; i < node.rows.size(); ++i)
            accessible_node_update(d.rows[i], node.rows[i], static_cast<int>(i));
        return;
    }
    // Other rows: the old row objects go, new ones come.
    std::vector<AtkObject*> old = std::exchange(d.rows, {});
    for (std::size_t i = old.size(); i-- > 0;) {
        g_signal_emit_by_name(list, "children-changed::remove", static_cast<guint>(i), old[i]);
        accessible_node_orphan(old[i]);
        g_object_unref(old[i]);
    }
    for (std::size_t i = 0; i < node.rows.size(); ++i) {
        AtkObject* row = accessible_node_new(*d.owner, node.rows[i], list);
        data_of(row).index = static_cast<int>(i);
        d.rows.push_back(row);
        g_signal_emit_by_name(list, "children-changed::add", static_cast<guint>(i), row);
    }
}

}  // namespace

AtkObject* accessible_node_new(AccessibleBoard& owner, const ui::AccessibleNode& node,
                               AtkObject* parent) {
    const GType type = node.has_value ? zk_value_node_get_type() : zk_node_get_type();
    AtkObject* object = ATK_OBJECT(g_object_new(type, nullptr));
    NodeData& d = data_of(object);
    d.owner = &owner;
    d.node = node;
    atk_object_set_role(object, atk_role(node.role));
    atk_object_set_name(object, node.name.c_str());
    atk_object_set_parent(object, parent);
    if (!node.rows.empty())
        set_rows(object, node);
    return object;
}

void accessible_node_update(AtkObject* object, const ui::AccessibleNode& node, int index) {
    NodeData& d = data_of(object);
    d.index = index;
    if (!d.owner)
        return;
    if (node.name != d.node.name)
        atk_object_set_name(object, node.name.c_str());
    const auto before = states(d.node);
    const auto after = states(node);
    const bool value_changed = node.value != d.node.value;
    if (node.role == ui::AccessibleRole::kList)
        set_rows(object, node);
    d.node = node;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i].second != before[i].second)
            atk_object_notify_state_change(object, after[i].first, after[i].second);
    if (value_changed)
        g_object_notify(G_OBJECT(object), "accessible-value");
}

const ui::AccessibleNode& accessible_node_data(AtkObject* object) {
    return data_of(object).node;
}

void accessible_node_orphan(AtkObject* object) {
    NodeData& d = data_of(object);
    d.owner = nullptr;
    for (AtkObject* row : d.rows)
        accessible_node_orphan(row);
    atk_object_notify_state_change(object, ATK_STATE_DEFUNCT, TRUE);
}

}  // namespace zentrik::app
